// Target images as the picture shows them: transparency over the background
// colour, files cut short or too large, and an import that is called off.
#include "files/frmfiledialog.h"
#include "filetestutil.h"
#include "graphtestsupport.h"

#include <QPainter>
#include <QPushButton>
#include <QtTest>

namespace {
// Left half transparent, right half opaque red.
QImage halfTransparent()
{
    QImage img(40, 20, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter(&img).fillRect(20, 0, 20, 20, Qt::red);
    return img;
}

// A JPEG whose frame header claims 60000 x 60000 pixels.
QByteArray hugeJpeg()
{
    QByteArray b = Encoded(TargetImage(30, 20), "JPEG");
    const qsizetype frame = b.indexOf(QByteArray("\xFF\xC0", 2));
    for (int i : {5, 7}) {
        b[frame + i] = char(60000 >> 8);
        b[frame + i + 1] = char(60000 & 0xFF);
    }
    return b;
}
} // namespace

class TestGraphImages : public QObject {
    Q_OBJECT
private slots:
    void loading_data();
    void loading();
    void calledOffImportKeepsPicture();
};

void TestGraphImages::loading_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("message"); // "": none; PATH stands for the file
    QTest::addColumn<QPoint>("clear");    // a transparent pixel, or (-1, -1)
    const QByteArray jpeg = Encoded(TargetImage(300, 200), "JPEG");
    const QByteArray bmp = Encoded(TargetImage(300, 200), "BMP");
    const QString damaged = QStringLiteral("The target image is damaged or incomplete: PATH");
    QTest::newRow("png with transparency")
        << "t.png" << Encoded(halfTransparent(), "PNG") << QString() << QPoint(5, 5);
    QTest::newRow("gif with a transparent pixel")
        << "t.gif"
        << QByteArray("GIF89a\x01\x00\x01\x00\x80\x00\x00\x00\x00\x00\xff\xff\xff\x21\xf9\x04\x01"
                      "\x00\x00\x00\x00\x2c\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01"
                      "\x00\x3b",
                      43)
        << QString() << QPoint(0, 0);
    QTest::newRow("whole jpeg") << "t.jpg" << jpeg << QString() << QPoint(-1, -1);
    QTest::newRow("jpeg cut short")
        << "t.jpg" << jpeg.left(jpeg.size() * 2 / 3) << damaged << QPoint(-1, -1);
    QTest::newRow("bitmap cut short")
        << "t.bmp" << bmp.left(bmp.size() / 2) << damaged << QPoint(-1, -1);
    QTest::newRow("over the size limit")
        << "t.jpg" << hugeJpeg()
        << QStringLiteral("The target image could not be loaded:\rPATH\rThe image is 60000 x "
                          "60000 pixels; Peltrix opens images of up to 536 million pixels "
                          "(2048 MB).")
        << QPoint(-1, -1);
}

void TestGraphImages::loading()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    QFETCH(QPoint, clear);
    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
    f.close();
    Session s;
    PrepareTestSession(s);
    s.BackColor = 0x00336699;
    s.ImagePath = path;
    s.ImageScale = 0.01f;
    s.ImageCalibrated = true;
    s.AimX = s.AimY = 1;
    s.CalPoint1X = s.CalPoint1Y = s.CalPoint2Y = 600; // figures clear of the image's corner
    s.CalPoint2X = 700;
    AddShots(s, {{0.5f, 0.5f}, {1, 0.25f}});
    GraphPicture p;
    p.canvas.SetPictureSize(QSize(50, 50));
    ScriptedPrompter prompter;
    QCOMPARE(LoadPictureFromSession(s, p, prompter), message.isEmpty());
    QStringList shown;
    for (const PromptRecord &r : prompter.messages()) shown << r.text;
    QCOMPARE(shown, message.isEmpty()
                        ? QStringList()
                        : QStringList{QString(message).replace(QStringLiteral("PATH"), path)});
    // The shots stay whatever the image did.
    QCOMPARE(s.ShotCount, 2);
    QCOMPARE(s.ImagePath, path);
    if (clear.x() < 0) return;
    // Transparent pixels show the background colour, also a new one.
    QCOMPARE(p.canvas.Image().pixel(clear), DisplayRgb(0x00336699));
    if (name == QLatin1String("t.png")) QCOMPARE(p.canvas.Image().pixel(30, 5), qRgb(255, 0, 0));
    ChangeBackColor(s, p, 0x0000FF00);
    QCOMPARE(p.canvas.Image().pixel(clear), qRgb(0, 255, 0));
}

void TestGraphImages::calledOffImportKeepsPicture()
{
    TestApp t;
    Session &s = t.session;
    s.ImageScale = 1.0f / 1440;
    s.ImageCalibrated = true;
    s.AimX = s.AimY = 1;
    AddShots(s, {{0.5f, 0.5f}, {1, 0.25f}});
    s.StatsSaved = false;
    const QString path = WriteTarget(t.dir);
    frmGraphEnter *w = OpenWindow(t, path);
    const QImage before = w->Picture().canvas.Image().copy();
    const Session kept = s;
    WhenModal([](QWidget *d) { qobject_cast<frmFileDialog *>(d)->cmdCancFile->click(); });
    w->mnuGraphImportImage_Click();
    QCOMPARE(s.ImagePath, path);
    QCOMPARE(w->windowTitle(), QStringLiteral("Graphical Data Entry - ") + path);
    QCOMPARE(w->Picture().canvas.Image(), before);
    QCOMPARE(s.ShotCount, kept.ShotCount);
    QCOMPARE(s.StatsSaved, kept.StatsSaved);
    QCOMPARE(s.ToolMode, kept.ToolMode);
    QVERIFY(t.prompter.messages().isEmpty());
}

QTEST_MAIN(TestGraphImages)
#include "test_graphimages.moc"
