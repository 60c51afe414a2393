// Straightening a photo taken at an angle: the transform, the picture it
// makes measured against the card's true size, and peltrix-cli straighten
// end to end, its refusals writing nothing.
#include "filetestutil.h"
#include "graph/straighten.h"
#include "testsupport.h"
#include "tiltedphoto.h"

#include <QtTest>
#include <cmath>

namespace {
double Distance(QPointF a, QPointF b) { return std::hypot(a.x() - b.x(), a.y() - b.y()); }

QString CornerText(const std::array<QPointF, 4> &c)
{
    QStringList parts;
    for (const QPointF &p : c) parts << QString::number(p.x()) << QString::number(p.y());
    return parts.join(QLatin1Char(','));
}

} // namespace

class TestStraighten : public QObject {
    Q_OBJECT
private slots:
    void mapsOntoTheRectangle();
    void refusals_data();
    void refusals();
    void commandLine();
};

void TestStraighten::mapsOntoTheRectangle()
{
    const TiltedPhoto t = MakeTiltedPhoto();
    StraightenRequest r;
    r.imageSize = t.image.size();
    r.corners = t.corners;
    r.width = t.width;
    r.height = t.height;
    r.dotsPerUnit = 40;
    QString why;
    const auto plan = PlanStraighten(r, &why);
    QVERIFY2(plan, qPrintable(why));
    const QPointF origin = *plan->Map(t.corners[0]);
    const QPointF upright[4] = {{0, 0}, {t.width, 0}, {t.width, t.height}, {0, t.height}};
    for (size_t k = 0; k < 4; ++k)
        QVERIFY(Distance(*plan->Map(t.corners[k]), origin + upright[k] * 40) < 1e-3);
    // A margin all round the rectangle.
    const QRectF rectangle(origin, QSizeF(t.width * 40, t.height * 40));
    QVERIFY(QRectF(QPointF(5, 5), QSizeF(plan->size) - QSizeF(10, 10)).contains(rectangle));

    // The dots lie their true distances apart on the new picture, which
    // records its resolution.
    const QImage out = StraightenImage(t.image, *plan, QStringLiteral("Inches"));
    QCOMPARE(out.size(), plan->size);
    QCOMPARE(out.dotsPerMeterX(), int(std::lround(40 / 0.0254)));
    std::vector<QPointF> found;
    for (const QPointF &d : t.dots) found.push_back(DarkCentre(out, origin + d * 40, 12));
    for (size_t a = 0; a < found.size(); ++a)
        for (size_t b = a + 1; b < found.size(); ++b)
            QVERIFY2(std::abs(Distance(found[a], found[b]) / 40 - Distance(t.dots[a], t.dots[b])) <
                         0.02,
                     qPrintable(QStringLiteral("dots %1 and %2").arg(a).arg(b)));

    // Without a resolution: about the photo's own along the rectangle.
    r.dotsPerUnit = 0;
    const auto natural = PlanStraighten(r, &why);
    QVERIFY(natural);
    QVERIFY(std::abs(natural->dotsPerUnit * t.width - Distance(t.corners[0], t.corners[1])) < 10);
    // A point entered far off the rectangle stays on the picture.
    r.keep = {QPointF(475, 355)};
    const auto kept = PlanStraighten(r, &why);
    QVERIFY(kept && QRectF(QPointF(0, 0), QSizeF(kept->size)).contains(*kept->Map(r.keep[0])));
}

void TestStraighten::refusals_data()
{
    const TiltedPhoto t = MakeTiltedPhoto();
    const QString size = QStringLiteral("8,6");
    auto c = [&](std::initializer_list<int> order) {
        std::array<QPointF, 4> out;
        size_t k = 0;
        for (int i : order) out[k++] = t.corners[size_t(i)];
        return CornerText(out);
    };
    QTest::addColumn<QString>("corners");
    QTest::addColumn<QString>("size");
    QTest::addColumn<QString>("dpi");
    QTest::addColumn<int>("code");
    QTest::newRow("crossing corners") << c({0, 2, 1, 3}) << size << QString() << 1;
    QTest::newRow("anticlockwise") << c({0, 3, 2, 1}) << size << QString() << 1;
    QTest::newRow("bending inwards")
        << QStringLiteral("70,40,420,85,200,120,52,292") << size << QString() << 1;
    QTest::newRow("outside the picture")
        << QStringLiteral("70,40,420,85,395,330,-5,292") << size << QString() << 1;
    QTest::newRow("three on one line")
        << QStringLiteral("70,40,245,62.5,420,85,52,292") << size << QString() << 1;
    QTest::newRow("two on one point") << c({0, 0, 2, 3}) << size << QString() << 1;
    QTest::newRow("width 0") << c({0, 1, 2, 3}) << QStringLiteral("0,6") << QString() << 1;
    QTest::newRow("over the size limit")
        << c({0, 1, 2, 3}) << size << QStringLiteral("100000") << 1;
    QTest::newRow("seven numbers")
        << QStringLiteral("70,40,420,85,395,330,52") << size << QString() << 1;
    QTest::newRow("no size") << c({0, 1, 2, 3}) << QString() << QString() << 2;
}

void TestStraighten::refusals()
{
    QFETCH(QString, corners);
    QFETCH(QString, size);
    QFETCH(QString, dpi);
    QFETCH(int, code);
    QTemporaryDir dir;
    const QString photo = dir.filePath(QStringLiteral("photo.png"));
    QVERIFY(MakeTiltedPhoto().image.save(photo));
    const QByteArray before = ReadBytes(photo);
    QStringList args{QStringLiteral("straighten"), photo,
                     QStringLiteral("--corners"),  corners,
                     QStringLiteral("-o"),         dir.filePath(QStringLiteral("out.png"))};
    if (!size.isEmpty()) args << QStringLiteral("--size") << size;
    if (!dpi.isEmpty()) args << QStringLiteral("--dpi") << dpi;
    const CliRun r = RunCliCaptured(args);
    QCOMPARE(r.code, code);
    QVERIFY(r.out.isEmpty());
    if (code == 1)
        QVERIFY2(r.err.startsWith(StraightenTitle + QStringLiteral(": ")), qPrintable(r.err));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("photo.png")});
    QCOMPARE(ReadBytes(photo), before);
}

void TestStraighten::commandLine()
{
    QTemporaryDir dir;
    const TiltedPhoto t = MakeTiltedPhoto();
    const QString photo = dir.filePath(QStringLiteral("card photo.png"));
    const QString out = dir.filePath(QStringLiteral("card flat.png"));
    QVERIFY(t.image.save(photo));
    const QByteArray original = ReadBytes(photo);
    auto run = [&](const QString &from, const QString &to) {
        return RunCliCaptured({QStringLiteral("straighten"), from, QStringLiteral("--corners"),
                               CornerText(t.corners), QStringLiteral("--size"),
                               QStringLiteral("8,6"), QStringLiteral("--unit"),
                               QStringLiteral("Centimeters"), QStringLiteral("--dpi"),
                               QStringLiteral("40"), QStringLiteral("-o"), to});
    };
    CliRun r = run(photo, out);
    QCOMPARE(r.code, 0);
    QVERIFY(!r.out.isEmpty());
    // Read back, the file gives its scale: 40 dots per centimeter.
    const QImage flat(out);
    QVERIFY(std::abs(flat.dotsPerMeterX() * 0.01 - 40) < 0.01);
    StraightenRequest same;
    same.imageSize = t.image.size();
    same.corners = t.corners;
    same.width = 8;
    same.height = 6;
    same.dotsPerUnit = 40;
    QCOMPARE(flat.size(), PlanStraighten(same, nullptr)->size);
    QCOMPARE(ReadBytes(photo), original);

    // Never over a file, the photo least of all.
    const QByteArray written = ReadBytes(out);
    for (const QString &to : {out, photo}) {
        r = run(photo, to);
        QCOMPARE(r.code, 1);
        QVERIFY(r.out.isEmpty());
    }
    QCOMPARE(ReadBytes(out), written);
    QCOMPARE(ReadBytes(photo), original);
}

QTEST_GUILESS_MAIN(TestStraighten)
#include "test_straighten.moc"
