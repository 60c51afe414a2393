// peltrix-cli detect: the contract of its output and its answers to bad input.
#include "filetestutil.h"
#include "synthtarget.h"
#include "testsupport.h"

#include <QDataStream>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

namespace {
QString Write(const QTemporaryDir &dir, const char *name, const QByteArray &bytes)
{
    const QString path = dir.filePath(QString::fromLatin1(name));
    WriteBytes(path, bytes);
    return path;
}

// A bitmap header claiming 30000 × 30000 pixels, with no pixels after it.
QByteArray HugeBitmapHeader()
{
    QByteArray h;
    QDataStream s(&h, QIODevice::WriteOnly);
    s.setByteOrder(QDataStream::LittleEndian);
    s << quint16(0x4D42) << quint32(54) << quint32(0) << quint32(54) << quint32(40) << qint32(30000)
      << qint32(30000) << quint16(1) << quint16(24);
    for (int k = 0; k < 6; ++k) s << quint32(0);
    return h;
}

QStringList Args(const QString &image, const char *rest)
{
    return QStringList{QStringLiteral("detect"), image} +
           QString::fromLatin1(rest).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}
} // namespace

class TestCliDetect : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void jsonAndTable();
    void badInput_data();
    void badInput();

private:
    QTemporaryDir dir;
    SynthTarget target;
    QString scan;
};

void TestCliDetect::initTestCase()
{
    target = MakeSynthTarget({.seed = 5, .dpi = 200, .caliber = 0.308, .sizeInches = 4});
    scan = Write(dir, "scan.jpg", Encoded(target.image, "JPG"));
}

void TestCliDetect::jsonAndTable()
{
    const CliRun r = RunCliCaptured(Args(scan, "--bullet 0.308 --dpi 200 --json"));
    QCOMPARE(r.code, 0);
    QVERIFY2(r.err.isEmpty(), qPrintable(r.err));
    const QJsonObject j = QJsonDocument::fromJson(r.out.toUtf8()).object();
    QCOMPARE(j.value(QStringLiteral("width")).toInt(), target.image.width());
    QCOMPARE(j.value(QStringLiteral("height")).toInt(), target.image.height());
    std::vector<FoundHole> holes;
    for (const QJsonValue &v : j.value(QStringLiteral("holes")).toArray()) {
        const QJsonObject h = v.toObject();
        holes.push_back({h[QStringLiteral("x")].toDouble(), h[QStringLiteral("y")].toDouble(),
                         h[QStringLiteral("diameter")].toDouble(),
                         h[QStringLiteral("confidence")].toDouble()});
        QVERIFY(holes.back().diameter > 0.5 * target.diameterPixels);
        QVERIFY(holes.back().confidence >= 0.5 && holes.back().confidence <= 1);
    }
    HoleScore score;
    score.Add(target, holes);
    QVERIFY(score.matched * 10 >= score.shots * 7);
    QVERIFY(score.found <= score.shots + 2);

    // The same scan by its scale in centimetres, then the table, then a region.
    const CliRun cm = RunCliCaptured(Args(scan, "--bullet 0.78232 --scale 78.74015748 --json"));
    QCOMPARE(cm.out, r.out);
    const CliRun table = RunCliCaptured(Args(scan, "--bullet 0.308 --dpi 200"));
    QCOMPARE(table.code, 0);
    QCOMPARE(table.out.count(QLatin1Char('\n')), 2 + int(holes.size()));
    const int half = target.image.width() / 2;
    const CliRun part = RunCliCaptured(
        Args(scan, "--bullet 0.308 --dpi 200 --json --region") +
        QStringList{QStringLiteral("0,0,%1,%2").arg(half).arg(target.image.height())});
    QCOMPARE(part.code, 0);
    const QJsonArray left =
        QJsonDocument::fromJson(part.out.toUtf8()).object()[QStringLiteral("holes")].toArray();
    const auto inLeft = std::count_if(holes.begin(), holes.end(), [&](const FoundHole &h) {
        return h.x < half - target.diameterPixels;
    });
    QVERIFY(left.size() >= inLeft && left.size() < qsizetype(holes.size()));
    for (const QJsonValue &v : left) QVERIFY(v.toObject()[QStringLiteral("x")].toDouble() < half);
}

void TestCliDetect::badInput_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("args");
    QTest::addColumn<int>("code"); // 0: found nothing

    QImage black(400, 400, QImage::Format_RGB32), white(400, 400, QImage::Format_RGB32);
    black.fill(Qt::black);
    white.fill(Qt::white);
    const QByteArray jpeg = Encoded(target.image, "JPG");
    const QString std = QStringLiteral("--bullet 0.308 --dpi 200");
    QTest::newRow("damaged") << Write(dir, "damaged.jpg", QByteArray(5000, '\x5A')) << std << 1;
    QTest::newRow("truncated") << Write(dir, "cut.jpg", jpeg.left(jpeg.size() / 2)) << std << 1;
    QTest::newRow("empty") << Write(dir, "empty.png", {}) << std << 1;
    QTest::newRow("missing") << dir.filePath(QStringLiteral("none.png")) << std << 1;
    QTest::newRow("huge") << Write(dir, "huge.bmp", HugeBitmapHeader()) << std << 1;
    QTest::newRow("1x1") << Write(dir, "one.png",
                                  Encoded(QImage(1, 1, QImage::Format_RGB32), "PNG"))
                         << std << 1;
    QTest::newRow("all black") << Write(dir, "black.png", Encoded(black, "PNG")) << std << 0;
    QTest::newRow("all white") << Write(dir, "white.png", Encoded(white, "PNG")) << std << 0;
    const QString ok = scan;
    for (const char *d : {"0", "nan", "abc", "1000"})
        QTest::newRow(d) << ok << QStringLiteral("--bullet %1 --dpi 200").arg(QLatin1String(d))
                         << 1;
    QTest::newRow("region outside") << ok << std + QStringLiteral(" --region 700,0,200,200") << 1;
    QTest::newRow("no bullet") << ok << QStringLiteral("--dpi 200") << 2;
    QTest::newRow("dpi and scale") << ok << std + QStringLiteral(" --scale 3") << 2;
}

void TestCliDetect::badInput()
{
    QFETCH(QString, file);
    QFETCH(QString, args);
    QFETCH(int, code);
    const CliRun r = RunCliCaptured(Args(file, qPrintable(args)));
    QCOMPARE(r.code, code);
    if (code == 1) {
        QVERIFY(r.out.isEmpty());
        QVERIFY(r.err.startsWith(QLatin1String("Find Holes: ")));
    } else if (code == 0) {
        QCOMPARE(r.out.count(QLatin1Char('\n')), 2);
    }
}

QTEST_MAIN(TestCliDetect)
#include "test_cli_detect.moc"
