#ifndef SYSTEMTRUST_H
#define SYSTEMTRUST_H

#include <QList>
#include <QSslCertificate>
#include <QString>

// Whether the system's store of authorities trusts a server's certificate,
// as Qt's network layer does for reports: on Linux the store that
// update-ca-certificates fills, on Windows the machine's store. The browser
// engine trusts only its own, so a company's authority is known to the
// system alone. The check is as strict as that of Qt's network layer at the
// system's security level: the host name, the dates, the chain up to a
// trusted authority, a server's certificate made for servers, keys of at
// least 2048 bits (224 for elliptic curves) and no signature made with MD5
// or SHA-1.
namespace SystemTrust {

// Why the system does not trust chain (the server's certificate first)
// for hostName, in the words of Qt's network layer; the empty text when it does.
QString refusal(const QList<QSslCertificate> &chain, const QString &hostName);

} // namespace SystemTrust

#endif // SYSTEMTRUST_H
