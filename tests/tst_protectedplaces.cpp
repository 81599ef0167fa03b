#include "download/protectedplaces.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

// The places a page may not save to, in a home and desktop folders of the
// test's own.
class tst_ProtectedPlaces : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void refusal_data();
    void refusal();

private:
    QString expand(QString text) const;

    QTemporaryDir m_root;
};

void tst_ProtectedPlaces::initTestCase()
{
    QVERIFY(m_root.isValid());
    const QDir root(m_root.path());
    QVERIFY(root.mkpath("home/Documents"));
    qputenv("HOME", QFile::encodeName(root.filePath("home")));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(root.filePath("config")));
    qputenv("XDG_CONFIG_DIRS", QFile::encodeName(root.filePath("xdg")));
    qunsetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_DIRS", QFile::encodeName(root.filePath("share")));
    qputenv("PATH", QFile::encodeName(root.filePath("tools") + ":relative"));
    QFile bashrc(expand("{home}/.bashrc"));
    QVERIFY(bashrc.open(QIODevice::WriteOnly));
    QVERIFY(QFile::link("../.bashrc", expand("{home}/Documents/innocent.pdf")));
    QVERIFY(QFile::link(
            expand("{config}/autostart/notes.txt"), expand("{home}/Documents/dangling.pdf")));
    QVERIFY(QFile::link(expand("{home}/.ssh"), expand("{home}/Documents/keys")));
    QVERIFY(QFile::link("loop", expand("{home}/loop")));
}

QString tst_ProtectedPlaces::expand(QString text) const
{
    return text.replace("{home}", m_root.filePath("home"))
            .replace("{config}", m_root.filePath("config"))
            .replace("{root}", m_root.path());
}

void tst_ProtectedPlaces::refusal_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("refusal");

    const QString runs = " could run a program, which a page may not save";
    const QString startup = " is a shell's start-up file, which a page may not write";
    const QString login = "from which the desktop starts programs at login";
    const QString keys = "which holds the keys and settings for logging in";
    const QString byName = "from which the shell runs programs by name";
    const auto inside = [](const QString &folder, const QString &what) {
        return " lies in " + folder + ", " + what + "; a page may not save there";
    };

    QTest::newRow("report") << "{home}/Documents/report.pdf" << QString();
    QTest::newRow("folder still to make") << "{home}/Documents/new/report.pdf" << QString();
    QTest::newRow("name like a protected folder") << "{home}/.sshkeys/report.pdf" << QString();
    QTest::newRow("empty name") << QString() << QString();
    QTest::newRow("link loop") << "{home}/loop/report.pdf" << QString();

    QTest::newRow("program") << "{home}/Documents/setup.exe"
                             << "{home}/Documents/setup.exe" + runs;
    QTest::newRow("bashrc") << "{home}/.bashrc"
                            << "{home}/.bashrc" + startup;
    QTest::newRow("openers") << "{config}/mimeapps.list"
                             << "{config}/mimeapps.list chooses the programs that open files, "
                                "which a page may not write";

    QTest::newRow("autostart") << "{config}/autostart/notes.txt"
                               << "{config}/autostart/notes.txt"
                    + inside("{config}/autostart", login);
    QTest::newRow("default autostart")
            << "{home}/.config/autostart/notes.txt"
            << "{home}/.config/autostart/notes.txt" + inside("{home}/.config/autostart", login);
    QTest::newRow("the folder itself") << "{home}/.ssh"
                                       << "{home}/.ssh" + inside("{home}/.ssh", keys);
    QTest::newRow("home bin") << "{home}/bin/tool"
                              << "{home}/bin/tool" + inside("{home}/bin", byName);
    QTest::newRow("on the path") << "{root}/tools/tool"
                                 << "{root}/tools/tool" + inside("{root}/tools", byName);

    QTest::newRow("..") << "{home}/Documents/../.ssh/config"
                        << "{home}/Documents/../.ssh/config (which leads to {home}/.ssh/config)"
                    + inside("{home}/.ssh", keys);
    QTest::newRow("link to a start-up file")
            << "{home}/Documents/innocent.pdf"
            << "{home}/Documents/innocent.pdf (which leads to {home}/.bashrc)" + startup;
    QTest::newRow("dangling link")
            << "{home}/Documents/dangling.pdf"
            << "{home}/Documents/dangling.pdf (which leads to {config}/autostart/notes.txt)"
                    + inside("{config}/autostart", login);
    QTest::newRow("link to a folder not yet made")
            << "{home}/Documents/keys/id.pub"
            << "{home}/Documents/keys/id.pub (which leads to {home}/.ssh/id.pub)"
                    + inside("{home}/.ssh", keys);
}

void tst_ProtectedPlaces::refusal()
{
    QFETCH(QString, fileName);
    QFETCH(QString, refusal);
    QCOMPARE(ProtectedPlaces::refusal(expand(fileName)), expand(refusal));
}

QTEST_GUILESS_MAIN(tst_ProtectedPlaces)

#include "tst_protectedplaces.moc"
