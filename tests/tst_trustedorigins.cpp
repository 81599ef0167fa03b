#include "app/trust/pageorigins.h"
#include "app/trust/trustedorigins.h"
#include "settings/startupsettings.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

// Which documents may hold the channel, from the start-up keys as a deployer
// writes them into the INI file.
class tst_TrustedOrigins : public QObject
{
    Q_OBJECT

private slots:
    void isTrusted_data();
    void isTrusted();
    void writtenAsTheBrowserWritesThem_data();
    void writtenAsTheBrowserWritesThem();
    void signInOrigins_data();
    void signInOrigins();

private:
    QTemporaryDir m_folder;
};

void tst_TrustedOrigins::isTrusted_data()
{
    QTest::addColumn<QString>("server");
    QTest::addColumn<QString>("listed"); // the TrustedOrigins line, absent when null
    QTest::addColumn<QString>("url");
    QTest::addColumn<bool>("trusted");

    const QString app = "https://mird.example/vantrelmird/login";
    const QString plain = "http://127.0.0.1:8080/app/";
    QTest::newRow("server's own page")
            << app << QString() << "https://mird.example/report?x=1#top" << true;
    QTest::newRow("explicit default port")
            << app << QString() << "https://mird.example:443/" << true;
    QTest::newRow("host case") << app << QString() << "https://MIRD.Example/" << true;
    QTest::newRow("user info") << app << QString() << "https://someone@mird.example/" << true;
    QTest::newRow("other port") << app << QString() << "https://mird.example:8443/" << false;
    QTest::newRow("plain http of https server")
            << app << QString() << "http://mird.example/" << false;
    QTest::newRow("subdomain") << app << QString() << "https://ads.mird.example/" << false;
    QTest::newRow("suffix") << app << QString() << "https://mird.example.evil/" << false;
    QTest::newRow("other host") << app << QString() << "https://evil.example/" << false;
    QTest::newRow("blob of server")
            << app << QString() << "blob:https://mird.example/5b3c-11" << true;
    QTest::newRow("blob of other")
            << app << QString() << "blob:https://evil.example/5b3c-11" << false;
    QTest::newRow("data") << app << QString() << "data:text/html,<p>hi" << false;
    QTest::newRow("about:blank") << app << QString() << "about:blank" << false;
    QTest::newRow("javascript") << app << QString() << "javascript:alert(1)" << false;
    QTest::newRow("file under web server") << app << QString() << "file:///tmp/x.html" << false;
    QTest::newRow("qrc under web server") << app << QString() << "qrc:/console/index.html" << false;
    QTest::newRow("empty") << app << QString() << QString() << false;

    QTest::newRow("http server, its port")
            << plain << QString() << "http://127.0.0.1:8080/x" << true;
    QTest::newRow("http server upgraded") << plain << QString() << "https://127.0.0.1/x" << true;
    QTest::newRow("http server, https on its port")
            << plain << QString() << "https://127.0.0.1:8080/x" << false;
    QTest::newRow("http server, other port") << plain << QString() << "http://127.0.0.1/x" << false;
    QTest::newRow("http server, other name of the host")
            << plain << QString() << "http://localhost:8080/x" << false;

    QTest::newRow("listed") << app << "https://login.example http://second.example:8080/"
                            << "https://login.example/authorize?client=mird" << true;
    QTest::newRow("listed with port") << app << "https://login.example http://second.example:8080/"
                                      << "http://second.example:8080/a" << true;
    QTest::newRow("listed is not upgraded") << app << "http://second.example:8080/"
                                            << "https://second.example/" << false;
    QTest::newRow("listed keeps the server") << app << "https://login.example"
                                             << "https://mird.example/" << true;
    QTest::newRow("not listed") << app << "https://login.example"
                                << "https://login.example.net/" << false;
    QTest::newRow("tabs and runs of spaces")
            << app << "\"  https://a.example\t\thttps://login.example  \""
            << "https://login.example/" << true;
    QTest::newRow("written with commas") << app << "https://a.example, https://login.example"
                                         << "https://login.example/" << true;
    QTest::newRow("empty list") << app << ""
                                << "https://login.example/" << false;
    QTest::newRow("nonsense listed") << app << "login.example *"
                                     << "https://login.example/" << false;

    QTest::newRow("qrc server") << "qrc:/console/index.html" << QString()
                                << "qrc:/console/other.html" << true;
    QTest::newRow("qrc server, file")
            << "qrc:/console/index.html" << QString() << "file:///etc/passwd" << false;
    QTest::newRow("file server") << "file:///opt/mird/index.html" << QString()
                                 << "file:///home/someone/page.html" << true;
    QTest::newRow("file server, web")
            << "file:///opt/mird/index.html" << QString() << "https://mird.example/" << false;
    QTest::newRow("ftp server trusts nothing")
            << "ftp://mird.example/" << QString() << "ftp://mird.example/" << false;
    QTest::newRow("server without scheme trusts nothing")
            << "mird.example/login" << QString() << "https://mird.example/login" << false;
}

void tst_TrustedOrigins::isTrusted()
{
    QFETCH(QString, server);
    QFETCH(QString, listed);
    QFETCH(QString, url);
    QFETCH(bool, trusted);

    const QString fileName = m_folder.filePath(QString::fromUtf8(QTest::currentDataTag()) + ".ini");
    {
        QSettings settings(fileName, QSettings::IniFormat);
        settings.setValue("Server", server);
    }
    if (!listed.isNull()) {
        QFile file(fileName);
        QVERIFY(file.open(QIODevice::Append));
        file.write("TrustedOrigins=" + listed.toUtf8() + '\n');
    }
    const QSettings settings(fileName, QSettings::IniFormat);
    const StartupSettings startup = StartupSettings::read(settings, QString());
    const TrustedOrigins origins(startup.server, startup.trustedOrigins);
    QCOMPARE(origins.isTrusted(QUrl(url)), trusted);
}

// The page's scripts compare these with location.origin and
// location.protocol, letter for letter.
void tst_TrustedOrigins::writtenAsTheBrowserWritesThem_data()
{
    QTest::addColumn<QString>("server");
    QTest::addColumn<QString>("listed");
    QTest::addColumn<QStringList>("origins");
    QTest::addColumn<QStringList>("schemes");

    QTest::newRow("default port") << "https://Mird.Example:443/login" << QString()
                                  << QStringList {"https://mird.example"} << QStringList();
    QTest::newRow("http server, its port and the upgrade")
            << "http://127.0.0.1:8080/app" << QString()
            << QStringList {"http://127.0.0.1:8080", "https://127.0.0.1"} << QStringList();
    QTest::newRow("IPv6") << "https://[::1]:8443/" << QString() << QStringList {"https://[::1]:8443"}
                          << QStringList();
    QTest::newRow("international name") << "https://bücher.example/" << QString()
                                        << QStringList {"https://xn--bcher-kva.example"}
                                        << QStringList();
    QTest::newRow("listed") << "https://mird.example/" << "http://reports.example:80/ qrc:/x"
                            << QStringList {"http://reports.example", "https://mird.example"}
                            << QStringList {"qrc:"};
    QTest::newRow("qrc server") << "qrc:/console/index.html" << QString() << QStringList()
                                << QStringList {"qrc:"};
}

void tst_TrustedOrigins::writtenAsTheBrowserWritesThem()
{
    QFETCH(QString, server);
    QFETCH(QString, listed);
    QFETCH(QStringList, origins);
    QFETCH(QStringList, schemes);

    const TrustedOrigins trusted(QUrl(server), listed);
    QCOMPARE(trusted.webOrigins(), origins);
    QCOMPARE(trusted.localSchemes(), schemes);
}

void tst_TrustedOrigins::signInOrigins_data()
{
    QTest::addColumn<QString>("signIn"); // the SignInOrigins line
    QTest::addColumn<QString>("url");
    QTest::addColumn<QString>("kind"); // trusted, sign-in or neither

    const QString signIn = "https://login.example https://sso.example:8443";
    QTest::newRow("the application") << signIn << "https://mird.example/x" << "trusted";
    QTest::newRow("a sign-in page") << signIn << "https://login.example/authorize?x=1" << "sign-in";
    QTest::newRow("a sign-in page, its port") << signIn << "https://sso.example:8443/" << "sign-in";
    QTest::newRow("a sign-in host, another port") << signIn << "https://sso.example/" << "neither";
    QTest::newRow("a sign-in host, plain http") << signIn << "http://login.example/" << "neither";
    QTest::newRow("elsewhere") << signIn << "https://evil.example/" << "neither";
    QTest::newRow("in both lists") << "https://mird.example" << "https://mird.example/" << "trusted";
    QTest::newRow("none listed") << QString() << "https://login.example/" << "neither";
}

void tst_TrustedOrigins::signInOrigins()
{
    QFETCH(QString, signIn);
    QFETCH(QString, url);
    QFETCH(QString, kind);

    const PageOrigins origins(QUrl("https://mird.example/login"), QString(), signIn);
    QCOMPARE(origins.isTrusted(QUrl(url)), kind == "trusted");
    QCOMPARE(origins.isSignIn(QUrl(url)), kind == "sign-in");
    QCOMPARE(origins.isShown(QUrl(url)), kind != "neither");
}

QTEST_GUILESS_MAIN(tst_TrustedOrigins)
#include "tst_trustedorigins.moc"
