#include "app/trust/systemtrust.h"

#include "app/trust/dersignature.h"

#include <QSslCertificateExtension>
#include <QSslError>
#include <QSslKey>

namespace {

// The object identifiers, in DER, of signatures with MD2, MD5 or SHA-1:
// RSA with each, DSA and ECDSA with SHA-1.
const QList<QByteArray> weakSignatures = {QByteArray::fromHex("2a864886f70d010102"),
        QByteArray::fromHex("2a864886f70d010104"), QByteArray::fromHex("2a864886f70d010105"),
        QByteArray::fromHex("2a8648ce380403"), QByteArray::fromHex("2a8648ce3d0401")};

// Not an authority's, and when its uses are listed, a server's among them.
bool isForServers(const QSslCertificate &certificate)
{
    for (const QSslCertificateExtension &extension : certificate.extensions()) {
        if (extension.oid() == QLatin1String("2.5.29.19")
                && extension.value().toMap().value(QStringLiteral("ca")).toBool())
            return false;
        if (extension.oid() == QLatin1String("2.5.29.37")) {
            const QStringList uses = extension.value().toStringList();
            if (!uses.contains(QLatin1String("TLS Web Server Authentication"))
                    && !uses.contains(QLatin1String("Any Extended Key Usage")))
                return false;
        }
    }
    return true;
}

bool hasWeakKey(const QSslCertificate &certificate)
{
    const QSslKey key = certificate.publicKey();
    return key.length() < (key.algorithm() == QSsl::Ec ? 224 : 2048);
}

bool hasWeakSignature(const QSslCertificate &certificate)
{
    const QByteArray algorithm = DerSignature::algorithm(certificate.toDer());
    return algorithm.isEmpty() || weakSignatures.contains(algorithm);
}

} // namespace

namespace SystemTrust {

QString refusal(const QList<QSslCertificate> &chain, const QString &hostName)
{
    if (chain.isEmpty())
        return QStringLiteral("The server sent no certificate");
    // Against the authorities of Qt's default configuration: the system's.
    const QList<QSslError> errors = QSslCertificate::verify(chain, hostName);
    if (!errors.isEmpty())
        return errors.first().errorString();
    // The handshake checks what the certificate is for; the plain check does not.
    if (!isForServers(chain.first()))
        return QStringLiteral("The certificate is not meant for servers");
    for (const QSslCertificate &certificate : chain) {
        if (hasWeakKey(certificate))
            return QStringLiteral("The key of %1 is too short")
                    .arg(certificate.subjectDisplayName());
        // An authority's signature on itself is not what its trust rests on.
        if (!certificate.isSelfSigned() && hasWeakSignature(certificate))
            return QStringLiteral("%1 is signed with a broken digest")
                    .arg(certificate.subjectDisplayName());
    }
    return QString();
}

} // namespace SystemTrust
