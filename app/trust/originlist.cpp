#include "app/trust/originlist.h"

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

OriginList::OriginList(const QString &listed)
{
    for (const QString &entry : listed.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts))
        add(QUrl(entry, QUrl::TolerantMode));
}

bool OriginList::contains(const QUrl &url) const
{
    const Origin origin = originOf(url);
    return !origin.scheme.isEmpty() && m_origins.contains(origin);
}

QStringList OriginList::webOrigins() const
{
    QStringList origins;
    for (const Origin &origin : m_origins) {
        if (!isWebScheme(origin.scheme))
            continue;
        const QString host = origin.host.contains(QLatin1Char(':'))
                ? QLatin1Char('[') + origin.host + QLatin1Char(']')
                : origin.host;
        QString written = origin.scheme + QLatin1String("://") + host;
        if (origin.port != defaultPort(origin.scheme))
            written += QLatin1Char(':') + QString::number(origin.port);
        origins.append(written);
    }
    return origins;
}

QStringList OriginList::localSchemes() const
{
    QStringList schemes;
    for (const Origin &origin : m_origins) {
        if (isLocalScheme(origin.scheme))
            schemes.append(origin.scheme + QLatin1Char(':'));
    }
    return schemes;
}

void OriginList::add(const QUrl &url)
{
    add(originOf(url));
}

void OriginList::add(const Origin &origin)
{
    if (!origin.scheme.isEmpty() && !m_origins.contains(origin))
        m_origins.append(origin);
}

// An origin that can never be listed has an empty scheme.
OriginList::Origin OriginList::originOf(const QUrl &url)
{
    if (!url.isValid())
        return {};
    const QString scheme = url.scheme();
    // A blob: address carries the origin of the document that made it.
    if (scheme == QLatin1String("blob"))
        return originOf(QUrl(url.path()));
    if (isLocalScheme(scheme))
        return {scheme, QString(), -1};
    const QString host = url.host(QUrl::FullyEncoded);
    if (isWebScheme(scheme) && !host.isEmpty())
        return {scheme, host, url.port(defaultPort(scheme))};
    return {};
}
