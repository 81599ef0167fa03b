"""The web application over HTTPS with a certificate from an authority that
only the system's store holds, as a company's authority installed with
update-ca-certificates: the real application in a private mount namespace
whose /etc/ssl/certs holds the tests' authority alone. The machine's store is
never touched, and the browser engine's own store (in the test's home) never
holds the authority."""

import os
import ssl
import unittest
from pathlib import Path

from harness import AppTestCase, QuietHandler, system_store_holding, wait_until

CERTIFICATES = Path(__file__).resolve().parent.parent / "data" / "certificates"
REPORT = b"%PDF-1.4\n1 0 obj\n<< /Type /Catalog >>\nendobj\n%%EOF\n"
PAGE = """<!DOCTYPE html>
<html><head><meta charset="utf-8"><title>Over HTTPS</title>
<script src="qrc:///qtwebchannel/qwebchannel.js"></script></head>
<body><script>
new QWebChannel(qt.webChannelTransport, async channel => {
    const bridge = channel.objects.vizEveDivuzaviz;
    console.log("PAGE bridge " + await bridge.getIni("Hello"));
    await bridge.doDownloadSaveReport(location.origin + "/report.pdf", %s, false);
});
</script></body></html>"""


class Handler(QuietHandler):
    """Serves the page and the report."""

    def do_GET(self):
        self.server.requests.append(self.path)
        body, kind = (REPORT, "application/pdf") if self.path == "/report.pdf" else (self.server.page, "text/html")
        self.send_body(body, kind)


@unittest.skipUnless(os.geteuid() == 0, "a private mount namespace needs root")
class CertificateTest(AppTestCase):
    window_manager = False

    def serve_https(self, certificate):
        """The page and the report over HTTPS with one of the test certificates."""
        self.target = self.folder / "report.pdf"
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(CERTIFICATES / f"{certificate}.pem", CERTIFICATES / f"{certificate}.key")
        return self.serve(Handler, context=context, page=(PAGE % repr(str(self.target))).encode(),
                          requests=[])

    def start_trusting(self, server, name="run", *authorities):
        executable, arguments = system_store_holding(self.folder / name, *authorities)
        return self.start({"Server": server.url()}, name=name, executable=executable,
                          arguments=arguments)

    def test_company_authority_holds_for_page_and_reports(self):
        server = self.serve_https("local")
        app = self.start_trusting(server, "run", CERTIFICATES / "authority.pem")
        app.wait_until_logged("js: PAGE bridge World")
        success = f"Download of {server.url('/report.pdf')} succeeded (saved to {self.target})\n"
        wait_until(lambda: bytes(app.stdout) == success.encode(),
                   failure=lambda: bytes(app.stdout).decode() + "\n".join(app.stderr))
        self.assertEqual(self.target.read_bytes(), REPORT)
        self.assertIn('Certificate of "127.0.0.1" accepted: the system trusts its authority', app.stderr)
        self.close(app)

    def test_other_certificates_stay_refused(self):
        cases = {"another host": ("elsewhere", [CERTIFICATES / "authority.pem"],
                                  "The host name did not match any of the valid hosts for this certificate"),
                 "authority unknown to the system": ("local", [],
                  "The issuer certificate of a locally looked up certificate could not be found")}
        for case, (certificate, authorities, why) in cases.items():
            with self.subTest(case):
                server = self.serve_https(certificate)
                app = self.start_trusting(server, case.replace(" ", "-"), *authorities)
                refusal = app.wait_for_line("Certificate of 127.0.0.1 refused: ")
                self.assertTrue(refusal.endswith(f" (the system does not trust it either: {why})"),
                                refusal)
                self.close(app)
                self.assertEqual(server.requests, [])
                self.assertNotIn("js: PAGE bridge World", app.stderr)
                # The engine's error page stays: nothing is tried again.
                self.assertFalse([line for line in app.stderr if line.startswith("Could not load")])


if __name__ == "__main__":
    unittest.main()
