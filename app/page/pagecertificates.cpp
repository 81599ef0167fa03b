#include "app/page/pagecertificates.h"

#include "app/engine/enginecompat.h"
#include "app/trust/systemtrust.h"
#include "base/standarderror.h"

#include <QDebug>
#include <QWebEngineCertificateError>

namespace PageCertificates {

bool accepts(const QWebEngineCertificateError &error, bool systemMayVouch, QString *refusal)
{
    const QString host = error.url().host();
    *refusal = EngineCompat::certificateProblem(error);
    if (EngineCompat::onlyAuthorityUnknown(error) && systemMayVouch) {
        const QString systemRefusal = SystemTrust::refusal(error.certificateChain(), host);
        if (systemRefusal.isEmpty()) {
            qDebug() << "Certificate of" << host << "accepted: the system trusts its authority";
            return true;
        }
        if (refusal->endsWith(QLatin1Char('.')))
            refusal->chop(1);
        *refusal += QStringLiteral(" (the system does not trust it either: %1)").arg(systemRefusal);
    }
    StandardError::writeLine(QStringLiteral("Certificate of %1 refused: %2").arg(host, *refusal));
    return false;
}

} // namespace PageCertificates
