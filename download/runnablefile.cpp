#include "download/runnablefile.h"

#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QStringList>

namespace {

const QStringList runnableSuffixes = {
        // Windows programs, scripts, installers, shortcuts and snap-ins
        "exe", "com", "scr", "pif", "bat", "cmd", "msi", "msp", "ps1", "psm1", "vbs", "vbe", "js",
        "jse", "wsf", "wsh", "hta", "cpl", "msc", "jar", "lnk", "url", "reg", "application",
        // Other desktops
        "desktop", "sh", "bash", "run", "appimage", "py", "pl"};

// Content types the database tells by their bytes; scripts with an
// interpreter line are subtypes of the executable type.
const QStringList runnableMimeTypes
        = {"application/x-executable", "application/x-sharedlib", "application/x-ms-dos-executable",
                "application/x-pef-executable", "application/x-desktop", "application/x-mswinurl"};

// Mach-O programs, single- and multi-architecture, which the database does
// not know by content.
const QList<QByteArray> machOMagics = {"\xfe\xed\xfa\xce", "\xfe\xed\xfa\xcf", "\xce\xfa\xed\xfe",
        "\xcf\xfa\xed\xfe", "\xca\xfe\xba\xbe"};

bool hasRunnableSuffix(QString name)
{
    // Windows ignores trailing dots and spaces: "setup.exe. " runs setup.exe.
    while (name.endsWith(QLatin1Char('.')) || name.endsWith(QLatin1Char(' ')))
        name.chop(1);
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    return dot >= 0 && runnableSuffixes.contains(name.mid(dot + 1), Qt::CaseInsensitive);
}

bool hasRunnableContent(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return true; // what cannot be read cannot be told apart from a program

    const QByteArray head = file.peek(4);
    if (head.startsWith("#!") || machOMagics.contains(head))
        return true;
    const QMimeType type = QMimeDatabase().mimeTypeForData(&file);
    for (const QString &runnable : runnableMimeTypes) {
        if (type.inherits(runnable))
            return true;
    }
    return false;
}

} // namespace

namespace RunnableFile {

bool couldRun(const QString &fileName)
{
    return hasRunnableName(fileName) || hasRunnableContent(fileName);
}

bool hasRunnableName(const QString &fileName)
{
    const QString name = QFileInfo(fileName).fileName();
    // On Windows "setup.exe:stream" names a stream of setup.exe.
    return hasRunnableSuffix(name) || hasRunnableSuffix(name.section(QLatin1Char(':'), 0, 0));
}

} // namespace RunnableFile
