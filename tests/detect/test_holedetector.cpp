// Hole detection measured on seeded synthetic scans: recall, precision,
// centre error and touching pairs against the true shots, on varied scans
// and on the worst of the scanner's faults at once.
#include "detect/holedetector.h"
#include "synthtarget.h"

#include <QtTest>

class TestHoleDetector : public QObject {
    Q_OBJECT
private slots:
    void accuracy_data();
    void accuracy();
};

void TestHoleDetector::accuracy_data()
{
    QTest::addColumn<quint32>("firstSeed");
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("harsh"); // JPEG 60, heavy noise and blur, tilted
    // The goals on clean synthetic scans: recall and precision 0.97, median
    // centre error 0.08 diameters, 8 of 10 touching pairs as two shots.
    QTest::newRow("varied scans") << 1u << 24 << false;
    QTest::newRow("harsh scans") << 200u << 8 << true;
}

void TestHoleDetector::accuracy()
{
    QFETCH(quint32, firstSeed);
    QFETCH(int, count);
    QFETCH(bool, harsh);
    HoleScore total;
    for (quint32 seed = firstSeed; seed < firstSeed + quint32(count); ++seed) {
        SynthOptions o = SynthVariant(seed);
        if (harsh) {
            o.jpegQuality = 60;
            o.noise = 6;
            o.blurPixels = 1.2;
            o.rotationDegrees = seed % 2 ? 2 : -2;
            o.unevenLight = 0.25;
        }
        const SynthTarget t = MakeSynthTarget(o);
        total.Add(t, FindHoles(t.image, t.diameterPixels));
    }
    qInfo("recall %.3f precision %.3f median centre error %.3f D, pairs %d of %d", total.Recall(),
          total.Precision(), total.MedianError(), total.pairsSplit, total.pairs);
    QVERIFY(total.Recall() >= 0.97);
    QVERIFY(total.Precision() >= 0.97);
    QVERIFY(total.MedianError() <= 0.08);
    QVERIFY(total.pairsSplit >= 0.8 * total.pairs);
}

QTEST_MAIN(TestHoleDetector)
#include "test_holedetector.moc"
