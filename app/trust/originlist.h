#ifndef ORIGINLIST_H
#define ORIGINLIST_H

#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

// Origins (scheme, host and port) as a deployer lists them in the settings:
// separated by white space, "https://login.example.com http://host:8080".
// A qrc: or file: entry stands for every document of its scheme.
class OriginList
{
public:
    explicit OriginList(const QString &listed = QString());

    // Whether the document at url is of one of the origins.
    bool contains(const QUrl &url) const;

    // As the browser writes a document's location.origin ("http://[::1]:8080",
    // a default port left out), for the page's own scripts.
    QStringList webOrigins() const;
    // The local schemes listed, as location.protocol writes them ("qrc:").
    QStringList localSchemes() const;

protected:
    // The origin of url, if it can be one.
    void add(const QUrl &url);

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
    void add(const Origin &origin);

    QList<Origin> m_origins;
};

#endif // ORIGINLIST_H
