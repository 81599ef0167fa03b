#include "settings/languagetags.h"

#include <QtTest>

// The languages the web application is asked for: the desktop's, or the
// deployer's list, and the header the engine sends for them.
class tst_LanguageTags : public QObject
{
    Q_OBJECT

private slots:
    void chosen_data();
    void chosen();
    void acceptLanguage_data();
    void acceptLanguage();
};

void tst_LanguageTags::chosen_data()
{
    QTest::addColumn<QString>("setting");
    QTest::addColumn<QStringList>("uiLanguages");
    QTest::addColumn<QStringList>("languages");

    QTest::newRow("German desktop, Qt 6") << QString() << QStringList {"de-DE", "de-Latn-DE", "de"}
                                          << QStringList {"de-DE", "de"};
    QTest::newRow("LANGUAGE=fr_CH:de, Qt 5")
            << QString() << QStringList {"fr-CH", "fr-Latn-CH", "de", "de-DE", "de-Latn-DE"}
            << QStringList {"fr-CH", "de", "de-DE"};
    QTest::newRow("a script that tells the language apart")
            << QString() << QStringList {"sr-Latn-RS", "sr-Latn"}
            << QStringList {"sr-Latn-RS", "sr-Latn"};
    QTest::newRow("C locale") << QString() << QStringList {"C"} << QStringList();
    QTest::newRow("the setting before the desktop") << QStringLiteral(
            "it-CH, it en") << QStringList {"de-DE"} << QStringList {"it-CH", "it", "en"};
    QTest::newRow("the setting's scripts stay") << QStringLiteral(
            "zh-Hant-TW zh-TW") << QStringList() << QStringList {"zh-Hant-TW", "zh-TW"};
    QTest::newRow("no header syntax from the setting")
            << QStringLiteral("de;q=1, fr\r\nX-Evil: 1, <b>, en-GB") << QStringList {"de-DE"}
            << QStringList {"fr", "en-GB"};
    QTest::newRow("each once") << QStringLiteral("de, DE, de-ch, de-CH") << QStringList()
                               << QStringList {"de", "de-ch"};
    QTest::newRow("an empty setting is none")
            << QStringLiteral(" , ") << QStringList {"en-US"} << QStringList {"en-US"};
}

void tst_LanguageTags::chosen()
{
    QFETCH(QString, setting);
    QFETCH(QStringList, uiLanguages);
    QFETCH(QStringList, languages);
    QCOMPARE(LanguageTags::chosen(setting, uiLanguages), languages);
}

void tst_LanguageTags::acceptLanguage_data()
{
    QTest::addColumn<QStringList>("languages");
    QTest::addColumn<QString>("header");

    QTest::newRow("one") << QStringList {"de-DE"} << "de-DE";
    QTest::newRow("three") << QStringList {"de-DE", "de", "en"} << "de-DE,de;q=0.9,en;q=0.8";
    QStringList many;
    for (const char *tag : {"a", "b", "c", "d", "e", "f", "g", "h", "i", "j", "k", "l"})
        many.append(QString::fromLatin1(tag) + "x");
    QTest::newRow("more than ten") << many
                                   << "ax,bx;q=0.9,cx;q=0.8,dx;q=0.7,ex;q=0.6,fx;q=0.5,gx;q=0.4,"
                                      "hx;q=0.3,ix;q=0.2,jx;q=0.1,kx;q=0.1,lx;q=0.1";
}

void tst_LanguageTags::acceptLanguage()
{
    QFETCH(QStringList, languages);
    QFETCH(QString, header);
    QCOMPARE(LanguageTags::acceptLanguage(languages), header);
}

QTEST_GUILESS_MAIN(tst_LanguageTags)
#include "tst_languagetags.moc"
