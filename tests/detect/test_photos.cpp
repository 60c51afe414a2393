// Hole finding on real phone photos (tests/data/photos, from the evaluation
// part of the model's split) with the scale a user's calibration gives and
// 30 % off either way; photos stored sideways, the resolution their headers
// give, and a missing or damaged model.
#include "detect/holenet.h"
#include "detect/scanreader.h"
#include "filetestutil.h"
#include "imaging/targetimage.h"
#include "photolabels.h"

#include <QImageReader>
#include <QImageWriter>
#include <QTemporaryDir>
#include <QtTest>

namespace {
const QString Photos = QStringLiteral(PELTRIX_TEST_DATA "/photos");
// What the twenty photos must keep: below the figures of the whole
// evaluation part, with room for the few holes of a small set.
constexpr double RecallFloor = 0.80, PrecisionFloor = 0.80;

QByteArray Jpeg(const QImage &image, double dpi)
{
    QImage copy = image;
    copy.setDotsPerMeterX(int(std::lround(dpi / 0.0254)));
    copy.setDotsPerMeterY(int(std::lround(dpi / 0.0254)));
    return Encoded(copy, "JPG");
}

// An EXIF block (big-endian TIFF) with an orientation and a resolution,
// put right after the JPEG's start marker.
QByteArray WithExif(QByteArray jpeg, int orientation, quint32 num, quint32 den)
{
    QByteArray tiff;
    QDataStream out(&tiff, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::BigEndian);
    out.writeRawData("MM", 2);
    out << quint16(42) << quint32(8) << quint16(3);
    const quint32 rational = 8 + 2 + 3 * 12 + 4;
    out << quint16(0x0112) << quint16(3) << quint32(1) << quint16(orientation) << quint16(0);
    out << quint16(0x011A) << quint16(5) << quint32(1) << rational;
    out << quint16(0x0128) << quint16(3) << quint32(1) << quint16(2) << quint16(0);
    out << quint32(0) << num << den;
    const QByteArray payload = QByteArray("Exif\0\0", 6) + tiff;
    QByteArray segment("\xFF\xE1", 2);
    segment.append(char((payload.size() + 2) >> 8)).append(char((payload.size() + 2) & 0xFF));
    return jpeg.insert(2, segment + payload);
}
} // namespace

class TestPhotos : public QObject {
    Q_OBJECT
private slots:
    void accuracy_data();
    void accuracy();
    void upright();
    void cancel();
    void resolution_data();
    void resolution();
    void model_data();
    void model();
};

void TestPhotos::accuracy_data()
{
    QTest::addColumn<double>("scaleError");
    QTest::newRow("calibrated") << 1.0;
    QTest::newRow("scale 30 % low") << 0.7;
    QTest::newRow("scale 30 % high") << 1.3;
}

void TestPhotos::accuracy()
{
    QFETCH(double, scaleError);
    PhotoScore score;
    for (const QString &name : QDir(Photos + QStringLiteral("/images")).entryList(QDir::Files)) {
        LabelledPhoto photo;
        QVERIFY(ReadLabelledPhoto(Photos, name, &photo));
        HoleRequest r;
        r.bulletDiameter = 1;
        r.pixelsPerUnit = photo.HoleSize() * scaleError;
        QString why;
        const auto report = FindHolesInFile(photo.imagePath, r, &why);
        QVERIFY2(report, qPrintable(why));
        score.Add(photo, report->holes);
    }
    qInfo("%d holes: recall %.3f precision %.3f, sure %d of which holes %.3f, centre error %.3f D",
          score.boxes, score.Recall(), score.Precision(), score.sure, score.SurePrecision(),
          score.MedianError());
    QCOMPARE(score.boxes > 50, true);
    QVERIFY(score.Recall() >= RecallFloor);
    QVERIFY(score.Precision() >= PrecisionFloor);
    QVERIFY(score.SurePrecision() >= (scaleError == 1 ? 0.95 : 0.9));
    QVERIFY(score.MedianError() <= 0.15);
}

void TestPhotos::upright()
{
    // A photo stored on its side with the EXIF orientation that turns it
    // back: the holes come at the upright photo's positions.
    QTemporaryDir dir;
    LabelledPhoto photo;
    const QString name = QStringLiteral("21_2036-14-04-2023_API_v1.jpg");
    QVERIFY(ReadLabelledPhoto(Photos, name, &photo));
    const QImage upright(photo.imagePath);
    const QImage sideways = upright.transformed(QTransform().rotate(-90));
    const QString path = dir.filePath(QStringLiteral("sideways.jpg"));
    QVERIFY(WriteBytes(path, WithExif(Jpeg(sideways, 72), 6, 72, 1)));
    HoleRequest r;
    r.bulletDiameter = 1;
    r.pixelsPerUnit = photo.HoleSize();
    QString why;
    const auto turned = FindHolesInFile(path, r, &why);
    QVERIFY2(turned, qPrintable(why));
    QCOMPARE(turned->imageSize, upright.size());
    // The same holes as on the upright photo itself, give or take what the
    // second JPEG encoding changed.
    const auto plain = FindHolesInFile(photo.imagePath, r, &why);
    QVERIFY(plain && !plain->holes.empty());
    QVERIFY(std::abs(int(turned->holes.size()) - int(plain->holes.size())) <= 1);
    int same = 0;
    for (const FoundHole &a : turned->holes)
        for (const FoundHole &b : plain->holes)
            same += std::hypot(a.x - b.x, a.y - b.y) < 0.25 * photo.HoleSize();
    QVERIFY(same >= int(plain->holes.size()) - 1);
}

void TestPhotos::cancel()
{
    // A 12-megapixel photo: Cancel is heard inside the search, which stops
    // long before its end and leaves nothing.
    const QImage photo = QImage(Photos + QStringLiteral("/images/21_2036-14-04-2023_API_v1.jpg"))
                             .scaled(4000, 3000)
                             .convertToFormat(QImage::Format_RGB32);
    int furthest = -1, asked = 0;
    SearchControl control;
    control.progress = [&](int percent) { furthest = std::max(furthest, percent); };
    control.cancelled = [&] { return ++asked > 2; };
    HoleRequest r;
    r.bulletDiameter = 1;
    r.pixelsPerUnit = 30; // small holes: a long search
    r.control = &control;
    QString why;
    QVERIFY(!FindHolesInImage(photo, r, &why));
    QVERIFY(why.contains(QStringLiteral("cancelled")));
    QVERIFY(furthest < 50);
}

void TestPhotos::resolution_data()
{
    QTest::addColumn<double>("jfif");
    QTest::addColumn<int>("orientation");
    QTest::addColumn<quint32>("num");
    QTest::addColumn<quint32>("den");
    QTest::addColumn<double>("expected"); // 0: none
    QTest::newRow("JFIF 300") << 300.0 << 1 << 72u << 1u << 300.0;
    QTest::newRow("JFIF 72, EXIF 300") << 72.0 << 1 << 300u << 1u << 300.0;
    QTest::newRow("JFIF 96, EXIF 600/2") << 96.0 << 1 << 600u << 2u << 300.0;
    QTest::newRow("JFIF 72, EXIF 72") << 72.0 << 1 << 72u << 1u << 0.0;
    QTest::newRow("EXIF resolution 0") << 72.0 << 1 << 0u << 1u << 0.0;
    QTest::newRow("EXIF resolution 1e9") << 72.0 << 1 << 1000000000u << 1u << 0.0;
    QTest::newRow("EXIF 0/0, orientation 9") << 72.0 << 9 << 0u << 0u << 0.0;
}

void TestPhotos::resolution()
{
    QFETCH(double, jfif);
    QFETCH(int, orientation);
    QFETCH(quint32, num);
    QFETCH(quint32, den);
    QFETCH(double, expected);
    QTemporaryDir dir;
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(Qt::white);
    const QString path = dir.filePath(QStringLiteral("scan.jpg"));
    QVERIFY(WriteBytes(path, WithExif(Jpeg(image, jfif), orientation, num, den)));
    QImageReader reader(path);
    reader.setAutoTransform(true);
    const QImage read = reader.read();
    QCOMPARE(read.size(), QSize(40, 30)); // a lying orientation is ignored
    QCOMPARE(FileDpi(path, read).value_or(0), expected);
}

void TestPhotos::model_data()
{
    QTest::addColumn<QByteArray>("content"); // empty: no file
    QTest::addColumn<QString>("reason");
    QTest::newRow("missing") << QByteArray() << QStringLiteral("missing");
    QTest::newRow("damaged") << QByteArray("\x08\x07not a model at all", 20)
                             << QStringLiteral("damaged");
}

void TestPhotos::model()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("holes.onnx"));
    if (!content.isEmpty()) QVERIFY(WriteBytes(path, content));
    const QString installed = HoleModelPath();
    SetHoleModelPath(path);
    QVERIFY(HoleModelProblem().contains(reason));
    HoleRequest r;
    r.bulletDiameter = 1;
    r.pixelsPerUnit = 23;
    QString why;
    QVERIFY(!FindHolesInFile(Photos + QStringLiteral("/images/20230310_153712.jpg"), r, &why));
    QCOMPARE(why, HoleModelProblem());
    SetHoleModelPath(installed);
    QVERIFY(HoleModelProblem().isEmpty());
}

QTEST_MAIN(TestPhotos)
#include "test_photos.moc"
