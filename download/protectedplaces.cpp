#include "download/protectedplaces.h"

#include "download/resolvedpath.h"
#include "download/runnablefile.h"

#include <QDir>
#include <QFileInfo>
#include <QList>
#include <QStringList>

#ifdef Q_OS_WIN
#include <shlobj.h>
#endif

namespace {

#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
constexpr Qt::CaseSensitivity pathCase = Qt::CaseInsensitive;
#else
constexpr Qt::CaseSensitivity pathCase = Qt::CaseSensitive;
#endif

// Files that shells and X sessions read as commands when a person logs in
// or opens a terminal, and those they pull in (Debian's .bashrc reads
// .bash_aliases).
const QStringList shellStartupFiles = {".profile", ".bash_profile", ".bash_login", ".bash_logout",
        ".bashrc", ".bash_aliases", ".zshenv", ".zprofile", ".zshrc", ".zlogin", ".zlogout",
        ".cshrc", ".tcshrc", ".login", ".logout", ".kshrc", ".mkshrc", ".xprofile", ".xsession",
        ".xsessionrc", ".xinitrc", ".Xclients", ".gnomerc", ".pam_environment"};

const char *const startsAtLogin = "from which the desktop starts programs at login";
const char *const startsServices = "from which systemd starts the user's services";
const char *const startsOnDemand = "from which the session's message bus starts programs";
const char *const startsFromMenus = "whose entries the desktop's menus and file openers start";

// A base folder of the desktop's: the default one, which tools that ignore
// the variable read, and the variable's when it holds another absolute path
// (the desktop ignores any other value).
QStringList baseFolders(const char *variable, const QString &fallback)
{
    QStringList folders = {fallback};
    const QString value = qEnvironmentVariable(variable);
    if (QDir::isAbsolutePath(value) && value != fallback)
        folders.append(value);
    return folders;
}

// The absolute folders of a list in a variable; a relative entry names a
// different folder for every program that reads it.
QStringList folderList(const char *variable, const QString &fallback, QChar separator)
{
    QStringList folders;
    for (const QString &entry : qEnvironmentVariable(variable, fallback).split(separator)) {
        if (QDir::isAbsolutePath(entry))
            folders.append(entry);
    }
    return folders;
}

#ifdef Q_OS_WIN
QString knownFolder(REFKNOWNFOLDERID id)
{
    PWSTR path = nullptr;
    QString folder;
    if (SUCCEEDED(SHGetKnownFolderPath(id, KF_FLAG_DONT_VERIFY, nullptr, &path)))
        folder = QDir::fromNativeSeparators(QString::fromWCharArray(path));
    CoTaskMemFree(path);
    return folder;
}
#endif

struct Folder
{
    QString path;
    const char *what; // how the folder runs programs, after its name
};

QList<Folder> folders()
{
    const QString home = QDir::homePath();
    QList<Folder> folders;
    for (const QString &base : baseFolders("XDG_CONFIG_HOME", home + QStringLiteral("/.config"))) {
        folders += {{base + QStringLiteral("/autostart"), startsAtLogin},
                {base + QStringLiteral("/autostart-scripts"), startsAtLogin},
                {base + QStringLiteral("/plasma-workspace/env"),
                        "whose scripts the desktop runs at login"},
                {base + QStringLiteral("/plasma-workspace/shutdown"),
                        "whose scripts the desktop runs at logout"},
                {base + QStringLiteral("/systemd/user"), startsServices},
                {base + QStringLiteral("/environment.d"),
                        "which sets the environment of every program of the session"},
                {base + QStringLiteral("/fish"),
                        "from which the fish shell reads its start-up files"}};
    }
    for (const QString &base : folderList("XDG_CONFIG_DIRS", QStringLiteral("/etc/xdg"), ':'))
        folders.append({base + QStringLiteral("/autostart"), startsAtLogin});

    for (const QString &base :
            baseFolders("XDG_DATA_HOME", home + QStringLiteral("/.local/share"))) {
        folders += {{base + QStringLiteral("/applications"), startsFromMenus},
                {base + QStringLiteral("/dbus-1/services"), startsOnDemand},
                {base + QStringLiteral("/systemd/user"), startsServices}};
    }
    for (const QString &base :
            folderList("XDG_DATA_DIRS", QStringLiteral("/usr/local/share:/usr/share"), ':')) {
        folders += {{base + QStringLiteral("/applications"), startsFromMenus},
                {base + QStringLiteral("/dbus-1/services"), startsOnDemand}};
    }

    folders.append(
            {home + QStringLiteral("/.ssh"), "which holds the keys and settings for logging in"});
    // Debian's .profile puts ~/bin and ~/.local/bin on the path at login once
    // they exist, so they count before they are on this process's path.
    const char *const runByName = "from which the shell runs programs by name";
    folders += {{home + QStringLiteral("/bin"), runByName},
            {home + QStringLiteral("/.local/bin"), runByName}};
    for (const QString &entry : folderList("PATH", QString(), QDir::listSeparator()))
        folders.append({entry, runByName});
#ifdef Q_OS_WIN
    const char *const windowsStartup = "from which Windows starts programs at login";
    folders += {{knownFolder(FOLDERID_Startup), windowsStartup},
            {knownFolder(FOLDERID_CommonStartup), windowsStartup}};
#endif
    return folders;
}

// The desktop's choice of program for each type of file: mimeapps.list, a
// desktop's own (kde-mimeapps.list) and the older defaults.list.
bool choosesOpeners(const QString &fileName)
{
    const QString name = QFileInfo(fileName).fileName();
    return name.endsWith(QLatin1String("mimeapps.list"), Qt::CaseInsensitive)
            || name.compare(QLatin1String("defaults.list"), Qt::CaseInsensitive) == 0;
}

bool isShellStartupFile(const QString &fileName)
{
    return shellStartupFiles.contains(QFileInfo(fileName).fileName(), Qt::CaseInsensitive);
}

bool lies(const QString &path, const QString &folder)
{
    const QString inside = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
    return path.compare(folder, pathCase) == 0 || path.startsWith(inside, pathCase);
}

} // namespace

namespace ProtectedPlaces {

QString refusal(const QString &fileName)
{
    if (fileName.isEmpty())
        return QString(); // names no file: saving fails as for any empty name
    const QString target = ResolvedPath::of(fileName);
    const QString subject = QDir::fromNativeSeparators(fileName) == target
            ? fileName
            : QStringLiteral("%1 (which leads to %2)").arg(fileName, target);
    // The name the page gave stays a name of the file too when it is a link.
    if (RunnableFile::hasRunnableName(fileName) || RunnableFile::hasRunnableName(target))
        return subject + QStringLiteral(" could run a program, which a page may not save");
    if (isShellStartupFile(fileName) || isShellStartupFile(target))
        return subject + QStringLiteral(" is a shell's start-up file, which a page may not write");
    // The opener would start the program it names for the next report.
    if (choosesOpeners(fileName) || choosesOpeners(target))
        return subject
                + QStringLiteral(" chooses the programs that open files, which a page may not write");
    for (const Folder &folder : folders()) {
        if (folder.path.isEmpty())
            continue; // a folder this system does not have
        const QString path = ResolvedPath::of(folder.path);
        if (lies(target, path))
            return QStringLiteral("%1 lies in %2, %3; a page may not save there")
                    .arg(subject, path, QLatin1String(folder.what));
    }
    return QString();
}

} // namespace ProtectedPlaces
