#ifndef TRUSTEDORIGINS_H
#define TRUSTEDORIGINS_H

#include <QList>
#include <QString>
#include <QUrl>

// The origins whose documents may hold the channel transport, and with it
// every slot of the bridge: the origin of the server address the window
// loads at start (for an http: address also https: on the same host, a
// server that upgrades itself) and those the deployer lists. A qrc: or
// file: address trusts every document of its scheme.
class TrustedOrigins
{
public:
    // listed: origins separated by white space.
    TrustedOrigins(const QUrl &server, const QString &listed);

    bool isTrusted(const QUrl &url) const;

private:
    struct Origin
    {
        QString scheme;
        QString host;
        int port = -1;

        bool operator==(const Origin &other) const
        {
            return scheme == other.scheme && host == other.host && port == other.port;
        }
    };

    static Origin originOf(const QUrl &url);
    void trust(const Origin &origin);

    QList<Origin> m_origins;
};

#endif // TRUSTEDORIGINS_H
