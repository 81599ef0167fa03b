#include "trust/trustedorigins.h"

#include <QStringList>

namespace {

bool isWebScheme(const QString &scheme)
{
    return scheme == QLatin1String("http") || scheme == QLatin1String("https");
}

bool isLocalScheme(const QString &scheme)
{
    return scheme == QLatin1String("qrc") || scheme == QLatin1String("file");
}

int defaultPort(const QString &scheme)
{
    return scheme == QLatin1String("https") ? 443 : 80;
}

} // namespace

TrustedOrigins::TrustedOrigins(const QUrl &server, const QString &listed)
{
    const Origin origin = originOf(server);
    trust(origin);
    if (origin.scheme == QLatin1String("http"))
        trust({QStringLiteral("https"), origin.host, defaultPort(QStringLiteral("https"))});
    for (const QString &entry : listed.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts))
        trust(originOf(QUrl(entry, QUrl::TolerantMode)));
}

bool TrustedOrigins::isTrusted(const QUrl &url) const
{
    const Origin origin = originOf(url);
    return !origin.scheme.isEmpty() && m_origins.contains(origin);
}

// An origin that can never be trusted has an empty scheme.
TrustedOrigins::Origin TrustedOrigins::originOf(const QUrl &url)
{
    if (!url.isValid())
        return {};
    const QString scheme = url.scheme();
    // A blob: address carries the origin of the document that made it.
    if (scheme == QLatin1String("blob"))
        return originOf(QUrl(url.path()));
    if (isLocalScheme(scheme))
        return {scheme, QString(), -1};
    if (isWebScheme(scheme) && !url.host().isEmpty())
        return {scheme, url.host(), url.port(defaultPort(scheme))};
    return {};
}

void TrustedOrigins::trust(const Origin &origin)
{
    if (!origin.scheme.isEmpty() && !m_origins.contains(origin))
        m_origins.append(origin);
}
