#include "app/desktop/logfile.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

// The support log as the copying process writes it: the output in pieces as
// they come, each line with its time, and at most one older file kept.
class tst_LogFile : public QObject
{
    Q_OBJECT

private slots:
    void lines_data();
    void lines();
    void keepsOneOlderFile();

private:
    QTemporaryDir m_folder;
};

namespace {
// Each line of the file without its time; one without a time is marked.
QList<QByteArray> linesWithoutTime(const QString &fileName)
{
    static const QRegularExpression time(QStringLiteral(
            "^\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d\\.\\d{3}(Z|[+-]\\d\\d:\\d\\d) "));
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QList<QByteArray> lines;
    for (const QByteArray &line : file.readAll().split('\n')) {
        if (line.isEmpty())
            continue; // after the last line's end
        const QRegularExpressionMatch match = time.match(QString::fromLatin1(line));
        lines.append(match.hasMatch() ? line.mid(match.capturedLength()) : "NO TIME: " + line);
    }
    return lines;
}
} // namespace

void tst_LogFile::lines_data()
{
    QTest::addColumn<QList<QByteArray>>("pieces");
    QTest::addColumn<QList<QByteArray>>("logged");

    using Lines = QList<QByteArray>;
    QTest::newRow("one line") << Lines {"Disconnect\n"} << Lines {"Disconnect"};
    QTest::newRow("a line in pieces") << Lines {"Number of ", "connected devices:  ", "1\n"}
                                      << Lines {"Number of connected devices:  1"};
    QTest::newRow("lines in one piece, one cut") << Lines {"pressed\n1 III 0\n\"settings",
            ".ini\"\n"} << Lines {"pressed", "1 III 0", "\"settings.ini\""};
    QTest::newRow("empty lines and bytes as written")
            << Lines {"\n\xff\xfe r\xc3\xa9sum\xc3\xa9\r\n\n"}
            << Lines {"", "\xff\xfe r\xc3\xa9sum\xc3\xa9\r", ""};
    QTest::newRow("a last line without its end") << Lines {"Request was redirected.\nCrash"}
                                                 << Lines {"Request was redirected.", "Crash"};
}

void tst_LogFile::lines()
{
    QFETCH(QList<QByteArray>, pieces);
    QFETCH(QList<QByteArray>, logged);

    const QString fileName
            = m_folder.filePath(QString::fromUtf8(QTest::currentDataTag()) + "/a.log");
    {
        LogFile log(fileName);
        QVERIFY(log.isOpen());
        for (const QByteArray &piece : pieces)
            log.write(piece);
        log.finish();
    }
    QCOMPARE(linesWithoutTime(fileName), logged);
    QCOMPARE(QFile(fileName).permissions(),
            QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser
                    | QFileDevice::WriteUser);
}

void tst_LogFile::keepsOneOlderFile()
{
    const QString fileName = m_folder.filePath(QStringLiteral("rotating/vantrelnut.log"));
    const qint64 size = 200;
    // Another start of the application appends to the same file.
    for (int start = 0; start < 2; ++start) {
        LogFile log(fileName, size);
        for (int line = 0; line < 10; ++line)
            log.write(
                    "line " + QByteArray::number(start * 10 + line).rightJustified(15, '0') + '\n');
    }
    QVERIFY(QFileInfo(fileName).size() <= size);
    QVERIFY(QFileInfo(fileName + ".1").size() <= size);
    QVERIFY(!QFile::exists(fileName + ".2"));
    // The newest lines, in order, across both files, none lost in between.
    const QList<QByteArray> kept = linesWithoutTime(fileName + ".1") + linesWithoutTime(fileName);
    QVERIFY(kept.size() >= 4);
    for (int index = 0; index < kept.size(); ++index)
        QCOMPARE(kept.at(index).mid(5).toInt(), 20 - kept.size() + index);
}

QTEST_GUILESS_MAIN(tst_LogFile)
#include "tst_logfile.moc"
