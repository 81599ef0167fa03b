#include "app/trust/systemtrust.h"

#include <QSslConfiguration>
#include <QtTest>

// Server certificates against a store that holds only the tests' authority,
// as the system's store holds a company's.
class tst_SystemTrust : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void refusal_data();
    void refusal();
};

void tst_SystemTrust::initTestCase()
{
    QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
    configuration.setCaCertificates(
            QSslCertificate::fromPath(QFINDTESTDATA("data/certificates/authority.pem")));
    QSslConfiguration::setDefaultConfiguration(configuration);
}

void tst_SystemTrust::refusal_data()
{
    QTest::addColumn<QString>("certificate");
    QTest::addColumn<QString>("hostName");
    QTest::addColumn<QString>("refusal");

    const QString notForServers = QStringLiteral("The certificate is not meant for servers");
    const QList<std::tuple<const char *, QString, QString, QString>> rows = {
            {"address", "local", "127.0.0.1", QString()},
            {"name", "local", "localhost", QString()},
            {"another host", "elsewhere", "127.0.0.1",
                    "The host name did not match any of the valid hosts for this certificate"},
            {"expired", "expired", "127.0.0.1", "The certificate has expired"},
            {"not yet valid", "future", "127.0.0.1", "The certificate is not yet valid"},
            {"unknown authority", "unknown", "127.0.0.1",
                    "The issuer certificate of a locally looked up certificate could not be found"},
            {"client's", "client", "127.0.0.1", notForServers},
            {"authority's", "subauthority", "127.0.0.1", notForServers},
            {"short key", "weak-key", "127.0.0.1", "The key of weak-key is too short"},
            {"SHA-1", "sha1", "127.0.0.1", "sha1 is signed with a broken digest"},
    };
    for (const auto &[row, certificate, hostName, refusal] : rows)
        QTest::newRow(row) << certificate << hostName << refusal;
}

void tst_SystemTrust::refusal()
{
    QFETCH(QString, certificate);
    QFETCH(QString, hostName);
    QFETCH(QString, refusal);
    const QList<QSslCertificate> chain
            = QSslCertificate::fromPath(QFINDTESTDATA("data/certificates/" + certificate + ".pem"));
    QCOMPARE(chain.size(), 1);
    QCOMPARE(SystemTrust::refusal(chain, hostName), refusal);
}

QTEST_GUILESS_MAIN(tst_SystemTrust)

#include "tst_systemtrust.moc"
