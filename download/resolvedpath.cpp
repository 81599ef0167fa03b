#include "download/resolvedpath.h"

#include <QFileInfo>
#include <QStringList>

namespace {

// As many links as the system follows in one path before it gives up.
constexpr int linkLimit = 40;

// The root of an absolute path in Qt's form: "/", "C:/" or "//server/share/".
QString rootOf(const QString &path)
{
    if (!path.startsWith(QLatin1String("//")))
        return path.left(path.indexOf(QLatin1Char('/')) + 1);
    const int share = path.indexOf(QLatin1Char('/'), 2);
    const int end = share < 0 ? -1 : path.indexOf(QLatin1Char('/'), share + 1);
    return end < 0 ? path + QLatin1Char('/') : path.left(end + 1);
}

} // namespace

namespace ResolvedPath {

// Walks the path a part at a time, as the system does: a part that exists is
// replaced by its canonical path (every link in it followed), a dangling link
// by its target, and what lies below a part that does not exist is taken as
// written.
QString of(const QString &fileName)
{
    const QString absolute = QFileInfo(fileName).absoluteFilePath();
    QString root = rootOf(absolute);
    QStringList parts;
    QStringList pending = absolute.mid(root.size()).split(QLatin1Char('/'), Qt::SkipEmptyParts);
    int links = 0;
    while (!pending.isEmpty()) {
        const QString part = pending.takeFirst();
        if (part == QLatin1String("."))
            continue;
        if (part == QLatin1String("..")) {
            if (!parts.isEmpty())
                parts.removeLast();
            continue;
        }
        const QFileInfo info(root + (parts + QStringList {part}).join(QLatin1Char('/')));
        const QString canonical = info.exists() ? info.canonicalFilePath() : QString();
        if (!canonical.isEmpty()) {
            root = rootOf(canonical);
            parts = canonical.mid(root.size()).split(QLatin1Char('/'), Qt::SkipEmptyParts);
        } else if (info.isSymLink() && ++links <= linkLimit) {
            const QString target = info.symLinkTarget();
            root = rootOf(target);
            parts.clear();
            pending = target.mid(root.size()).split(QLatin1Char('/'), Qt::SkipEmptyParts) + pending;
        } else {
            parts.append(part);
        }
    }
    return root + parts.join(QLatin1Char('/'));
}

} // namespace ResolvedPath
