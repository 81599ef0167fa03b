#include "app/page/pagezoom.h"

#include <QtTest>

// The zoom keys' steps from a factor the keys set, the engine's Ctrl+wheel
// left between steps, or the ends of the range.
class tst_PageZoom : public QObject
{
    Q_OBJECT

private slots:
    void steps_data();
    void steps();
};

void tst_PageZoom::steps_data()
{
    QTest::addColumn<qreal>("factor");
    QTest::addColumn<qreal>("in");
    QTest::addColumn<qreal>("out");

    QTest::newRow("100 %") << 1.0 << 1.1 << 0.9;
    QTest::newRow("the wheel's 130 %") << 1.3000000044703484 << 1.5 << 1.25;
    QTest::newRow("the wheel's 110 %, off by a float") << 1.1000000238418579 << 1.25 << 1.0;
    QTest::newRow("smallest") << 0.25 << 0.33 << 0.25;
    QTest::newRow("largest") << 5.0 << 5.0 << 4.0;
}

void tst_PageZoom::steps()
{
    QFETCH(qreal, factor);
    QFETCH(qreal, in);
    QFETCH(qreal, out);

    QCOMPARE(PageZoom::step(factor, 1), in);
    QCOMPARE(PageZoom::step(factor, -1), out);
}

QTEST_APPLESS_MAIN(tst_PageZoom)
#include "tst_pagezoom.moc"
