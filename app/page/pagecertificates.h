#ifndef PAGECERTIFICATES_H
#define PAGECERTIFICATES_H

#include <QString>

class QWebEngineCertificateError;

// Whether a page loads despite a certificate error. The engine knows only
// its own authorities; one it does not know may be the company's, installed
// in the system's store, so for an origin the window shows (systemMayVouch)
// a chain the system trusts for the host is accepted, as the report
// downloader accepts it. Any other fault, or a chain the system does not
// trust either, is refused.
namespace PageCertificates {

// Whether to load; if not, refusal says why, as standard error does.
bool accepts(const QWebEngineCertificateError &error, bool systemMayVouch, QString *refusal);

} // namespace PageCertificates

#endif // PAGECERTIFICATES_H
