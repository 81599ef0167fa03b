#include "instrument/densityline.h"

#include <QRandomGenerator>
#include <QScopeGuard>
#include <QtTest>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

using Densities = std::array<float, 4>;
Q_DECLARE_METATYPE(Densities)

class tst_DensityLine : public QObject
{
    Q_OBJECT

private slots:
    void line_data();
    void line();
    void lineUnderDecimalCommaLocale_data() { line_data(); }
    void lineUnderDecimalCommaLocale();
    void finiteValuesMatchPrintfInCLocale();
};

namespace {

QByteArray lineOf(const Densities &densities)
{
    const float array[4] = {densities[0], densities[1], densities[2], densities[3]};
    return DensityLine::of(array);
}

} // namespace

void tst_DensityLine::line_data()
{
    QTest::addColumn<Densities>("densities");
    QTest::addColumn<QByteArray>("expected");

    constexpr float nan = std::numeric_limits<float>::quiet_NaN();
    constexpr float infinity = std::numeric_limits<float>::infinity();
    constexpr float largest = std::numeric_limits<float>::max();

    QTest::newRow("typical") << Densities {0.1f, 1.25f, 0.0f, 2.0f}
                             << QByteArray("0.100000|1.250000|0.000000|2.000000");
    QTest::newRow("negative") << Densities {-0.05f, -1.5f, -123.456f, -0.0f}
                              << QByteArray("-0.050000|-1.500000|-123.456001|-0.000000");
    // Rounded from the float's exact binary value, as printf does.
    QTest::newRow("rounding") << Densities {0.0000004f, 0.0000006f, 0.0000025f, 1.9999996f}
                              << QByteArray("0.000000|0.000001|0.000002|2.000000");
    QTest::newRow("large") << Densities {largest, -largest, 1e10f, 16777216.0f}
                           << QByteArray("340282346638528859811704183484516925440.000000|"
                                         "-340282346638528859811704183484516925440.000000|"
                                         "10000000000.000000|16777216.000000");
    QTest::newRow("not a number") << Densities {nan, -nan, 1.0f, nan}
                                  << QByteArray("nan|nan|1.000000|nan");
    QTest::newRow("infinite") << Densities {infinity, -infinity, 0.5f, infinity}
                              << QByteArray("inf|-inf|0.500000|inf");
}

void tst_DensityLine::line()
{
    QFETCH(Densities, densities);
    QFETCH(QByteArray, expected);
    QCOMPARE(lineOf(densities), expected);
}

void tst_DensityLine::lineUnderDecimalCommaLocale()
{
    QFETCH(Densities, densities);
    QFETCH(QByteArray, expected);

    const QByteArray previous = std::setlocale(LC_ALL, nullptr);
    const auto restore = qScopeGuard([&] { std::setlocale(LC_ALL, previous.constData()); });
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8"))
        QSKIP("The de_DE.UTF-8 locale is not installed (scripts/setup generates it)");
    char printed[32];
    std::snprintf(printed, sizeof printed, "%f", 0.5);
    QCOMPARE(printed, "0,500000"); // the locale is in force for printf

    QCOMPARE(lineOf(densities), expected);
}

void tst_DensityLine::finiteValuesMatchPrintfInCLocale()
{
    const QByteArray previous = std::setlocale(LC_NUMERIC, nullptr);
    const auto restore = qScopeGuard([&] { std::setlocale(LC_NUMERIC, previous.constData()); });
    std::setlocale(LC_NUMERIC, "C");
    QRandomGenerator random(20240601);
    for (int i = 0; i < 20000; ++i) {
        // Every bit pattern, and the range densities usually have.
        float density = float(random.generateDouble() * 10 - 5);
        if (i % 2) {
            const quint32 bits = random.generate();
            std::memcpy(&density, &bits, sizeof density);
        }
        if (!std::isfinite(density))
            continue;
        char printed[64];
        std::snprintf(printed, sizeof printed, "%f", double(density));
        QCOMPARE(DensityLine::formatDensity(density), QByteArray(printed));
    }
}

QTEST_GUILESS_MAIN(tst_DensityLine)
#include "tst_densityline.moc"
