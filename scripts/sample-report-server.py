#!/usr/bin/python3
"""sample-report-server.py: serves a one-page sample report at /report.pdf on
127.0.0.1, on a free port that it prints first, until it is stopped. The demo
uses it so the download slots have a report to fetch."""

import http.server


def sample_report():
    text = b"BT /F1 24 Tf 72 720 Td (VantrelNut sample report) Tj ET"
    objects = [
        b"<< /Type /Catalog /Pages 2 0 R >>",
        b"<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        b"<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] "
        b"/Resources << /Font << /F1 4 0 R >> >> /Contents 5 0 R >>",
        b"<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>",
        b"<< /Length %d >>\nstream\n%s\nendstream" % (len(text), text),
    ]
    pdf = bytearray(b"%PDF-1.4\n")
    offsets = []
    for number, body in enumerate(objects, 1):
        offsets.append(len(pdf))
        pdf += b"%d 0 obj\n%s\nendobj\n" % (number, body)
    xref = len(pdf)
    pdf += b"xref\n0 %d\n0000000000 65535 f \n" % (len(objects) + 1)
    pdf += b"".join(b"%010d 00000 n \n" % offset for offset in offsets)
    pdf += b"trailer\n<< /Size %d /Root 1 0 R >>\nstartxref\n%d\n%%%%EOF\n" % (len(objects) + 1, xref)
    return bytes(pdf)


class ReportHandler(http.server.BaseHTTPRequestHandler):
    report = sample_report()

    def do_GET(self):
        if self.path.split("?")[0] != "/report.pdf":
            self.send_error(404)
            return
        self.send_response(200)
        self.send_header("Content-Type", "application/pdf")
        self.send_header("Content-Length", str(len(self.report)))
        self.end_headers()
        self.wfile.write(self.report)

    def log_message(self, *arguments):
        pass


if __name__ == "__main__":
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), ReportHandler)
    print(server.server_address[1], flush=True)
    server.serve_forever()
