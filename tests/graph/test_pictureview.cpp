// The zoomed, scrolled picture: twips at every zoom, and the same session
// entered or its figures removed at any zoom.
#include "files/statsfile.h"
#include "graph/frmtoolbox.h"
#include "graphtestsupport.h"

#include <QAction>
#include <QLabel>
#include <QScrollBar>

class TestPictureView : public QObject {
    Q_OBJECT
private slots:
    void zoomCoordinates_data();
    void zoomCoordinates();
    void sessionSameAtAnyZoom();
    void figuresRemovedAtAnotherZoom();
};

void TestPictureView::zoomCoordinates_data()
{
    QTest::addColumn<double>("zoom");
    QTest::addColumn<QPoint>("at"); // viewport position of the pixel
    QTest::newRow("25 %") << 0.25 << QPoint(300, 200);
    QTest::newRow("100 %") << 1.0 << QPoint(250, 150);
    QTest::newRow("400 %") << 4.0 << QPoint(401, 333);
}

void TestPictureView::zoomCoordinates()
{
    QFETCH(double, zoom);
    QFETCH(QPoint, at);
    TestApp t;
    frmGraphEnter *w = OpenWindow(t, QString());
    GraphPicture &p = w->Picture();
    const QImage noise = NoiseImage(6000, 4000);
    p.canvas.SetImage(noise);
    w->View->SetZoom(zoom);
    // A pixel far from the top-left corner: only reachable scrolled.
    const QPoint px(1234, 986);
    PictureBox *pic = w->Picture1;
    const QPoint local = BringToView(w, px, at);
    QVERIFY(w->View->ScrollOffset().x() > 0 && w->View->ScrollOffset().y() > 0);
    QCOMPARE(pic->mapTo(w->View->viewport(), local), at);

    // What the view shows there is that very pixel (below 100 % the average
    // of the pixels there: test_pictureguide).
    const bool exact = zoom >= 1;
    if (exact) QCOMPARE(ShownImage(w).pixel(at), noise.pixel(px));
    QSignalSpy down(pic, &PictureBox::MouseDown), moved(pic, &PictureBox::MouseMove);
    QTest::mouseClick(pic, Qt::LeftButton, {}, local);
    QCOMPARE(down.size(), 1);
    QCOMPARE(down[0][2].toFloat(), 1234.0f * 15);
    QCOMPARE(down[0][3].toFloat(), 986.0f * 15);
    QCOMPARE(t.session.CalPoint1X, 1234.0f * 15);
    QCOMPARE(t.session.CalPoint1Y, 986.0f * 15);

    // A move with the full-screen cursor: the same twips, and the lines
    // reach both edges of the view.
    t.session.FullScreenCursor = true;
    QTest::mouseMove(pic, local + QPoint(5, 5));
    QTest::mouseMove(pic, local);
    QVERIFY(!moved.isEmpty());
    QCOMPARE(moved.last()[2].toFloat(), 1234.0f * 15);
    QCOMPARE(t.session.CursorLinesX, 1234.0f * 15);
    QCOMPARE(t.session.CursorLinesY, 986.0f * 15);
    const QImage shown = ShownImage(w);
    const QRgb overlay = OverlayRgb() & 0xFFFFFF;
    const QPoint offset = w->View->ScrollOffset();
    const int right = w->View->viewport()->width() - 1, bottom = w->View->viewport()->height() - 1;
    const auto canvasAt = [&](int vx, int vy) {
        const QPointF tw = pic->ToPictureTwips(QPointF(vx + offset.x(), vy + offset.y()));
        return QPoint(int(tw.x()) / 15, int(tw.y()) / 15);
    };
    for (const QPoint &v :
         {QPoint(0, at.y()), QPoint(right, at.y()), QPoint(at.x(), 0), QPoint(at.x(), bottom)}) {
        const QPoint c = canvasAt(v.x(), v.y());
        if (exact) QCOMPARE(shown.pixel(v) & 0xFFFFFF, (noise.pixel(c) ^ overlay) & 0xFFFFFF);
    }
    // Every pixel of the horizontal line on screen shows it: none falls
    // between the pixels the zoomed view samples.
    for (int vx = 0; vx <= right; vx += 7) {
        const QPoint c = canvasAt(vx, at.y());
        // Near the crossing: the other line and the calibration mark.
        if (!exact || std::abs(c.x() - px.x()) <= 10 / std::min(zoom, 1.0)) continue;
        QCOMPARE(shown.pixel(vx, at.y()) & 0xFFFFFF, (noise.pixel(c) ^ overlay) & 0xFFFFFF);
    }
    // Scrolled away with the scroll bar: the lines still span what is shown.
    w->View->horizontalScrollBar()->setValue(0);
    const QRectF visible = pic->VisibleTwips();
    QCOMPARE(p.CursorSpan, visible);
    QCOMPARE(visible.topLeft(), pic->ToPictureTwips(QPointF(0, w->View->ScrollOffset().y())));
}

void TestPictureView::sessionSameAtAnyZoom()
{
    // The same calibration, aim and shots clicked at 100 % and at 300 %
    // (scrolled): the saved files are byte for byte the same.
    const std::array<QPoint, 6> clicks = {QPoint(40, 50),   QPoint(520, 50),  QPoint(300, 200),
                                          QPoint(310, 190), QPoint(285, 230), QPoint(577, 377)};
    QByteArray saved[2];
    for (int pass = 0; pass < 2; ++pass) {
        TestApp t;
        frmGraphEnter *w = OpenWindow(t, WriteTarget(t.dir));
        w->View->SetZoom(pass == 0 ? 1.0 : 3.0);
        t.session.FullScreenCursor = t.session.ShowAxes = t.session.ShowCentroid = true;
        t.prompter.QueueInput(QStringLiteral("3.2"));
        for (const QPoint &c : clicks) ClickPixel(w, c);
        QVERIFY(t.prompter.messages().isEmpty());
        QCOMPARE(t.session.ShotCount, 3);
        if (pass == 1) QVERIFY(w->View->ScrollOffset() != QPoint(0, 0));
        t.session.ImagePath = QStringLiteral("target.png"); // the folders differ
        saved[pass] = StatsFileBytes(t.session);
        QCOMPARE(t.session.CalPoint1X, 40.0f * 15);
        QCOMPARE(t.session.CalPoint2Y, 50.0f * 15);
    }
    QCOMPARE(saved[1], saved[0]);
}

void TestPictureView::figuresRemovedAtAnotherZoom()
{
    TestApp t;
    const QString path = WriteTarget(t.dir, 900, 700);
    frmGraphEnter *w = OpenWindow(t, path);
    GraphPicture &p = w->Picture();
    const QImage scan = p.canvas.Image().copy();
    t.session.ShowAxes = t.session.ShowCentroid = true;
    w->View->SetZoom(4.0);
    t.prompter.QueueInput(QStringLiteral("1"));
    for (const QPoint &c : {QPoint(100, 100), QPoint(196, 100), QPoint(450, 350), QPoint(460, 340),
                            QPoint(445, 362), QPoint(470, 330)})
        ClickPixel(w, c);
    QCOMPARE(t.session.ShotCount, 3);
    w->mnuCursor->trigger();
    QTest::mouseMove(w->Picture1, BringToView(w, QPoint(455, 345), QPoint(200, 200)));
    QVERIFY(t.session.CursorLinesDrawn && t.session.CentroidDrawn && t.session.AxesDrawn);
    // Down to 25 %: every figure grows to stay visible; remove them there.
    w->View->SetZoom(0.25);
    QTest::mouseClick(w->ToolBox()->cmdRemShot, Qt::LeftButton);
    for (const QPoint &c : {QPoint(460, 340), QPoint(445, 362), QPoint(470, 330)})
        ClickPixel(w, c, QPoint(150, 120));
    QCOMPARE(t.session.ShotCount, 0);
    QVERIFY(t.prompter.messages().isEmpty());
    w->mnuCursor->trigger();
    w->mnuAxes->trigger();
    w->View->SetZoom(1.0);
    // What is left is what a fresh picture draws at 100 % for the session.
    Session copy = t.session;
    GraphPicture fresh;
    fresh.canvas.SetPictureSize(p.canvas.SizePixels());
    fresh.canvas.SetImage(scan.copy(0, 0, 900, 700));
    fresh.canvas.SetBackground(DisplayRgb(t.session.BackColor));
    ResetPicture(copy, fresh);
    RedrawTarget(copy, fresh);
    QCOMPARE(p.canvas.Image(), fresh.canvas.Image());
    // And with the calibration gone too, the scan itself, byte for byte.
    DrawCalMarkers(t.session, p);
    DrawAimMarker(p, p.AimMarkX, p.AimMarkY);
    QCOMPARE(p.canvas.FigureCount(), 0);
    QVERIFY(memcmp(p.canvas.Image().constBits(), scan.constBits(), size_t(scan.sizeInBytes())) ==
            0);
}

QTEST_MAIN(TestPictureView)
#include "test_pictureview.moc"
