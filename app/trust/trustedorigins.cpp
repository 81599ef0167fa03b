#include "app/trust/trustedorigins.h"

TrustedOrigins::TrustedOrigins(const QUrl &server, const QString &listed)
    : OriginList(listed)
{
    add(server);
    if (server.scheme() == QLatin1String("http")) {
        QUrl upgraded = server;
        upgraded.setScheme(QStringLiteral("https"));
        upgraded.setPort(-1);
        add(upgraded);
    }
}
