// The picture as the user sees it: opened fitted and centred, averaged below
// 100 %, the status line that says what a click does, and the notes drawn
// over the picture.
#include "graph/frmgraphenter.h"
#include "graph/frmtoolbox.h"
#include "graph/picturebox.h"
#include "graph/pictureview.h"
#include "graphtestimages.h"
#include "testsupport.h"

#include <QLabel>
#include <QtTest>

namespace {
frmGraphEnter *OpenWith(TestApp &t, const QImage &image)
{
    const QString path = t.dir.filePath(QStringLiteral("target.png"));
    image.save(path, "PNG");
    t.session.HeaderEntered = true;
    t.session.ImagePath = path;
    t.app->ViewGraphicalEntry();
    return t.app->GraphEnter();
}

// Clicks canvas pixel `px` where the picture shows it.
void Click(frmGraphEnter *w, QPoint px)
{
    const QPointF at = (QPointF(px) + QPointF(0.5, 0.5)) * w->Picture1->Zoom();
    QTest::mouseClick(w->Picture1, Qt::LeftButton, {}, (at - QPointF(0.5, 0.5)).toPoint());
}
} // namespace

class TestPictureGuide : public QObject {
    Q_OBJECT
private slots:
    void opensFittedAndCentred();
    void smoothBelowActualSize();
    void statusLineAndNotes();
};

void TestPictureGuide::opensFittedAndCentred()
{
    TestApp t;
    frmGraphEnter *w = OpenWith(t, TargetImage(3000, 2400));
    const double z = w->View->Zoom();
    const QSize view = w->View->viewport()->size(), shown = w->Picture1->size();
    QVERIFY(z < 1);
    QVERIFY(shown.width() <= view.width() && shown.height() <= view.height());
    QVERIFY(shown.width() >= view.width() - 4 || shown.height() >= view.height() - 4);
    const QPoint centred((view.width() - shown.width()) / 2, (view.height() - shown.height()) / 2);
    QVERIFY((w->Picture1->pos() - centred).manhattanLength() <= 2);
    // Zoomed in and fitted again: centred again.
    w->mnuZoomActual->trigger();
    w->mnuZoomFit->trigger();
    QCOMPARE(w->View->Zoom(), z);
    QVERIFY((w->Picture1->pos() - centred).manhattanLength() <= 2);
    // A picture smaller than the window opens at its own size.
    TestApp small;
    QCOMPARE(OpenWith(small, TargetImage(300, 200))->View->Zoom(), 1.0);
}

void TestPictureGuide::smoothBelowActualSize()
{
    // One-pixel black and white columns at the left: averaged they are grey,
    // sampled they would be all black or all white. Plain black at the right.
    QImage image(400, 300, QImage::Format_RGB32);
    for (int x = 0; x < 400; ++x)
        for (int y = 0; y < 300; ++y)
            image.setPixel(x, y, x < 200 && x % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
    TestApp t;
    frmGraphEnter *w = OpenWith(t, image);
    const auto grey = [w](double zoom, QPoint at) {
        w->View->SetZoom(zoom);
        return qGray(w->Picture1->grab().toImage().pixel(at));
    };
    for (double zoom : {0.5, 0.25, 0.1}) {
        const int g = grey(zoom, QPoint(5, 5));
        QVERIFY2(g > 100 && g < 155, qPrintable(QString::number(zoom)));
    }
    QCOMPARE(grey(1.0, QPoint(10, 10)), 0);
    QCOMPARE(grey(1.0, QPoint(11, 10)), 255);
    // A figure drawn while averaged shows at once: black turned white.
    QCOMPARE(grey(0.5, QPoint(150, 50)), 0);
    w->Picture().canvas.XorFilledBox(280 * 15, 80 * 15, 320 * 15, 120 * 15, qRgb(255, 255, 255));
    QCOMPARE(qGray(w->Picture1->grab().toImage().pixel(150, 50)), 255);
    // Cursor lines moved over the averaged view (cells swapped, not worked
    // out again) show what a fresh average of the picture shows.
    t.session.FullScreenCursor = true;
    w->View->SetZoom(0.25);
    for (QPoint at : {QPoint(20, 20), QPoint(21, 23), QPoint(60, 30), QPoint(61, 31)})
        QTest::mouseMove(w->Picture1, at);
    const QImage moved = w->Picture1->grab().toImage();
    w->View->SetZoom(0.5);
    w->View->SetZoom(0.25);
    QCOMPARE(w->Picture1->grab().toImage(), moved);
}

void TestPictureGuide::statusLineAndNotes()
{
    TestApp t;
    frmGraphEnter *w = OpenWith(t, TargetImage(600, 400));
    w->View->SetZoom(1.0);
    Click(w, QPoint(100, 200));
    t.prompter.QueueInput(QStringLiteral("4"));
    Click(w, QPoint(500, 200));
    // 4 inches over 400 pixels.
    QCOMPARE(w->lblScale->text(), QStringLiteral("0.01 Inches per pixel"));
    Click(w, QPoint(300, 200));
    // Two shots through one hole, one beside it.
    const QImage canvasBefore = w->Picture().canvas.Image().copy();
    for (QPoint hole : {QPoint(320, 180), QPoint(320, 180), QPoint(360, 240)}) Click(w, hole);
    QCOMPARE(w->lblStatus->text(),
             QStringLiteral("Click the centre of each hole — 3 shots so far"));
    QCOMPARE(int(w->Picture1->Notes().shots.size()), 3);
    // The numbers are drawn over the picture: the canvas holds only the markers.
    const QImage canvasAfter = w->Picture().canvas.Image();
    const QRect label(QPoint(330, 160), QSize(20, 10));
    const auto differing = [&label](const QImage &a, const QImage &b) {
        int n = 0;
        for (int y = label.top(); y <= label.bottom(); ++y)
            for (int x = label.left(); x <= label.right(); ++x) n += a.pixel(x, y) != b.pixel(x, y);
        return n;
    };
    QCOMPARE(differing(canvasAfter, canvasBefore), 0);
    QVERIFY(differing(w->Picture1->grab().toImage(), canvasAfter) > 20);
}

QTEST_MAIN(TestPictureGuide)
#include "test_pictureguide.moc"
