#include "settings/startupsettings.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

// The start-up keys as a person may have written them into the INI file.
class tst_StartupSettings : public QObject
{
    Q_OBJECT

private slots:
    void keys_data();
    void keys();
    void enableHighDpi_data();
    void enableHighDpi();
    void readingWritesNothing();

private:
    QTemporaryDir m_folder;
};

namespace {
const QString defaultServer = QStringLiteral("https://default.example/vantrelmird/login");

// A file per row: QSettings caches what it read from a file name.
QString writeIni(const QTemporaryDir &folder, const QByteArray &contents)
{
    const QString fileName = folder.filePath(QString::fromUtf8(QTest::currentTestFunction()) + '-'
            + QString::fromUtf8(QTest::currentDataTag()) + ".ini");
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
            || file.write(contents) != contents.size())
        qFatal("Cannot write %s: %s", qPrintable(fileName), qPrintable(file.errorString()));
    return fileName;
}
// Every byte value, the line and section markers of INI text included.
QByteArray binaryGarbage()
{
    QByteArray bytes;
    for (int round = 0; round < 8; ++round) {
        for (int byte = 0; byte < 256; ++byte)
            bytes += char((byte * 37 + round) % 256);
    }
    return bytes;
}
} // namespace

void tst_StartupSettings::keys_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<bool>("showMaximized");
    QTest::addColumn<bool>("noContextMenu");
    QTest::addColumn<QString>("applicationName");
    QTest::addColumn<QUrl>("server");

    QTest::newRow("no file") << QByteArray() << true << true << "VantrelNut" << QUrl(defaultServer);
    QTest::newRow("explicit defaults") << QByteArray("[General]\nShowMaximized=1\nContextMenu=0\n")
                                       << true << true << "VantrelNut" << QUrl(defaultServer);
    QTest::newRow("normal window") << QByteArray("[General]\nShowMaximized=0\n") << false << true
                                   << "VantrelNut" << QUrl(defaultServer);
    QTest::newRow("true is not 1") << QByteArray("[General]\nShowMaximized=true\n") << false << true
                                   << "VantrelNut" << QUrl(defaultServer);
    QTest::newRow("context menu kept") << QByteArray("[General]\nContextMenu=1\n") << true << false
                                       << "VantrelNut" << QUrl(defaultServer);
    QTest::newRow("context menu any text") << QByteArray("[General]\nContextMenu=no\n") << true
                                           << false << "VantrelNut" << QUrl(defaultServer);
    QTest::newRow("name and server")
            << QByteArray("[General]\nappName=Mird Lab\nServer=http://127.0.0.1:8080/app/login\n")
            << true << true << "Mird Lab" << QUrl("http://127.0.0.1:8080/app/login");
    QTest::newRow("server parsed tolerantly")
            << QByteArray("[General]\nServer=http://127.0.0.1/a b%zz\n") << true << true
            << "VantrelNut" << QUrl("http://127.0.0.1/a%20b%25zz");
    QTest::newRow("server with commas, as written by hand")
            << QByteArray("[General]\nServer=https://host/app?a=1,2\n") << true << true
            << "VantrelNut" << QUrl("https://host/app?a=1,2");
    // QSettings writes the hand-written value back like this at every start.
    QTest::newRow("server with commas, as written back")
            << QByteArray("[General]\nServer=\"https://host/app?a=1\", 2\n") << true << true
            << "VantrelNut" << QUrl("https://host/app?a=1,2");
    QTest::newRow("spaces after commas are not kept")
            << QByteArray("[General]\nappName=Mird, Lab\nShowMaximized=1, \n") << false << true
            << "Mird,Lab" << QUrl(defaultServer);
    QTest::newRow("quoted commas") << QByteArray("[General]\nappName=\"Mird, Lab\"\n") << true
                                   << true << "Mird, Lab" << QUrl(defaultServer);
    QTest::newRow("binary garbage")
            << binaryGarbage() << true << true << "VantrelNut" << QUrl(defaultServer);
    QFile writtenByQt5(QFINDTESTDATA("data/written-by-qt5.ini"));
    QVERIFY(writtenByQt5.open(QIODevice::ReadOnly));
    QTest::newRow("written by Qt 5")
            << writtenByQt5.readAll() << true << true << QStringLiteral("Mird L\u00e4bor")
            << QUrl(QStringLiteral("https://mird.vantrel.example/vantrelmird/login?lab=K\u00f6ln"));
    QTest::newRow("bundled console")
            << QByteArray("[General]\nServer=qrc:/console/index.html\n") << true << true
            << "VantrelNut" << QUrl("qrc:/console/index.html");
}

void tst_StartupSettings::keys()
{
    QFETCH(QByteArray, ini);
    QFETCH(bool, showMaximized);
    QFETCH(bool, noContextMenu);
    QFETCH(QString, applicationName);
    QFETCH(QUrl, server);

    const QSettings settings(writeIni(m_folder, ini), QSettings::IniFormat);
    const StartupSettings startup = StartupSettings::read(settings, defaultServer);
    QCOMPARE(startup.showMaximized, showMaximized);
    QCOMPARE(startup.noContextMenu, noContextMenu);
    QCOMPARE(startup.applicationName, applicationName);
    QCOMPARE(startup.server, server);
}

void tst_StartupSettings::enableHighDpi_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<bool>("enabled");

    QTest::newRow("absent") << QByteArray() << true;
    QTest::newRow("1") << QByteArray("[General]\nEnableHighDpi=1\n") << true;
    QTest::newRow("quoted 1") << QByteArray("[General]\nEnableHighDpi=\"1\"\n") << true;
    QTest::newRow("0") << QByteArray("[General]\nEnableHighDpi=0\n") << false;
    QTest::newRow("true") << QByteArray("[General]\nEnableHighDpi=true\n") << false;
    QTest::newRow("empty") << QByteArray("[General]\nEnableHighDpi=\n") << false;
    QTest::newRow("1 with a comma") << QByteArray("[General]\nEnableHighDpi=1,\n") << false;
    QTest::newRow("binary garbage") << binaryGarbage() << true;
}

void tst_StartupSettings::enableHighDpi()
{
    QFETCH(QByteArray, ini);
    QFETCH(bool, enabled);

    const QSettings settings(writeIni(m_folder, ini), QSettings::IniFormat);
    QCOMPARE(StartupSettings::enableHighDpi(settings), enabled);
}

void tst_StartupSettings::readingWritesNothing()
{
    const QString fileName = writeIni(m_folder, QByteArray());
    QFile::remove(fileName);
    {
        QSettings settings(fileName, QSettings::IniFormat);
        StartupSettings::read(settings, defaultServer);
        StartupSettings::enableHighDpi(settings);
    }
    QVERIFY(!QFile::exists(fileName));
}

QTEST_GUILESS_MAIN(tst_StartupSettings)
#include "tst_startupsettings.moc"
