#pragma once
// What the screenshot sets share: one program, a set a run.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QString>
#include <array>

// Lets the windows paint and the window manager place them.
inline void settle(int ms = 300)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

inline bool saveScreen(const QString &path)
{
    settle();
    return QGuiApplication::primaryScreen()->grabWindow(0).save(path);
}

// A generated 600-dpi scan of a 50 ft smallbore target with a 10-shot group.
namespace Scan {
inline constexpr int W = 8000, H = 10000;
inline const QPointF Centre(4000, 4600);
inline constexpr double Dpi = 600;
inline const std::array<QPointF, 10> Holes = {{{3890, 4520},
                                               {4120, 4610},
                                               {4010, 4380},
                                               {3950, 4755},
                                               {4215, 4470},
                                               {4060, 4690},
                                               {3820, 4640},
                                               {4170, 4810},
                                               {3990, 4550},
                                               {4290, 4600}}};

inline QString MakeScan(const QString &dir)
{
    QImage img(W, H, QImage::Format_RGB32);
    img.fill(qRgb(236, 232, 220));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    // Rings one inch apart, the inner four filled black.
    for (int ring = 10; ring >= 1; --ring) {
        const double r = ring * Dpi / 2;
        p.setPen(QPen(ring <= 4 ? QColor(236, 232, 220) : QColor(30, 30, 30), 8));
        p.setBrush(ring <= 4 ? QColor(25, 25, 25) : QColor(236, 232, 220));
        p.drawEllipse(Centre, r, r);
    }
    p.setPen(QPen(QColor(236, 232, 220), 10));
    p.drawLine(Centre - QPointF(150, 0), Centre + QPointF(150, 0));
    p.drawLine(Centre - QPointF(0, 150), Centre + QPointF(0, 150));
    // .22 holes: 5.6 mm across, torn paper showing the backing.
    for (const QPointF &h : Holes) {
        p.setPen(QPen(QColor(120, 110, 100), 6));
        p.setBrush(QColor(200, 190, 160));
        p.drawEllipse(h, 66, 66);
    }
    p.setPen(QColor(30, 30, 30));
    QFont f = p.font();
    f.setPixelSize(180);
    p.setFont(f);
    p.drawText(QRectF(0, 8600, W, 400), Qt::AlignCenter, QStringLiteral("50 FT SMALLBORE TARGET"));
    p.end();
    const QString path = dir + QStringLiteral("/scan-8000x10000.jpg");
    img.save(path, "JPEG", 90);
    return path;
}
} // namespace Scan

// Each set takes what follows its name on the command line.
int ShotsReadme(int argc, char **argv);
int ShotsGraph(int argc, char **argv);
int ShotsEveryday(int argc, char **argv);
int ShotsFind(int argc, char **argv);
int ShotsLogbook(int argc, char **argv);
int ShotsManual(int argc, char **argv);
int ShotsSheet(int argc, char **argv);
