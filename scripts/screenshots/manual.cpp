// Takes the manual's screenshots from the running program: the main window,
// keyboard entry with the statistics window, and, where graphical entry is
// built, its window, toolbox and dialog driven through a sample target.
// Run through scripts/make-screenshots.sh.
#include "app/frmmain.h"
#include "app/peltrixapp.h"
#include "entry/frmkeyboardenter.h"
#include "entry/frmtextenter.h"
#include "model/textnum.h"
#include "platform/scriptedprompter.h"
#include "shots.h"
#include "stats/frmtextoutput.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <cstdio>

namespace {
QString outDir;

void settleQuick()
{
    for (int i = 0; i < 5; ++i) {
        QCoreApplication::processEvents();
        QTest::qWait(30);
    }
}

void save(const QImage &image, const QString &name)
{
    const QString path = QDir(outDir).filePath(name);
    if (!image.save(path))
        std::fprintf(stderr, "could not write %s\n", qPrintable(path));
    else
        std::printf("%s\n", qPrintable(path));
}

// Windows side by side on a plain desktop-coloured strip.
QImage sideBySide(const QList<QWidget *> &windows)
{
    QList<QImage> shots;
    int width = 16, height = 0;
    for (QWidget *w : windows) {
        shots << w->grab().toImage();
        width += shots.last().width() + 16;
        height = std::max(height, shots.last().height());
    }
    QImage canvas(width, height + 32, QImage::Format_RGB32);
    canvas.fill(QColor(0x5b, 0x6e, 0x7f));
    QPainter p(&canvas);
    int x = 16;
    for (const QImage &img : shots) {
        p.drawImage(x, 16, img);
        x += img.width() + 16;
    }
    return canvas;
}

void placeholder(const QString &name, const QString &what)
{
    if (QFileInfo::exists(QDir(outDir).filePath(name))) return;
    QImage img(640, 360, QImage::Format_RGB32);
    img.fill(QColor(0xee, 0xea, 0xde));
    QPainter p(&img);
    p.setPen(QColor(0x55, 0x55, 0x55));
    p.setFont(QFont(QStringLiteral("DejaVu Sans"), 14));
    p.drawText(img.rect().adjusted(30, 30, -30, -30), Qt::AlignCenter | Qt::TextWordWrap,
               what +
                   QStringLiteral("\n\n(screenshot to be taken by scripts/make-screenshots.sh)"));
    p.end();
    save(img, name);
}

template <class W> W *child(QWidget *top, const char *name)
{
    return top ? top->findChild<W *>(QString::fromLatin1(name)) : nullptr;
}

QWidget *topLevel(const char *name)
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String(name) && w->isVisible()) return w;
    return nullptr;
}

QImage zoomed(QWidget *w, const QRect &r)
{
    return w->grab(r).toImage().scaled(r.size() * 2, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

void click(QWidget *w, QPoint at)
{
    QTest::mouseMove(w, at);
    QTest::mouseClick(w, Qt::LeftButton, {}, at);
    settleQuick();
}

void typedShots(PeltrixApp &app)
{
    Session &s = app.session;
    s.HeaderEntered = true;
    s.RangeEntered = true;
    s.RangeToTarget = 100;
    s.ShooterName = FixedWidth(QStringLiteral("A. Marksman"), ShooterNameWidth);
    app.ViewTextEntry();
    settleQuick();
    frmTextEnter *form = app.TextEnter();
    const char *shots[][2] = {
        {"0.35", "0.6"}, {"0.8", "0.25"}, {"0.15", "0.95"}, {"0.62", "0.88"}, {"0.45", "0.4"}};
    for (const auto &shot : shots) {
        form->txtEnterX->setText(QString::fromLatin1(shot[0]));
        form->txtEnterY->setText(QString::fromLatin1(shot[1]));
        form->cmdEnterTextData->click();
        settleQuick();
    }
    frmTextOutput *stats = app.TextOutput();
    stats->show();
    settleQuick();
    save(stats->grab().toImage(), QStringLiteral("statistics.png"));
    form->txtEnterX->setText(QStringLiteral("-0.2"));
    settleQuick();
    save(sideBySide({app.KeyBoardEnter(), stats}), QStringLiteral("keyboard.png"));
    app.CloseAll();
    settleQuick();
}

// The sample target1.gif: 75 pixels to the inch, the bull's centre at (300, 300).
bool graphicalEntry(PeltrixApp &app, ScriptedPrompter &prompter)
{
    Session &s = app.session;
    ResetSession(s);
    s.ImagePath = QDir(s.InstallDir).filePath(QStringLiteral("Tutorial/target1.gif"));
    s.ImageDir = QDir(s.InstallDir).filePath(QStringLiteral("Tutorial"));
    s.HeaderEntered = true;
    s.RangeEntered = true;
    s.RangeToTarget = 25;

    // The import dialog, grabbed while it waits for an answer.
    bool dialogSeen = false;
    QTimer::singleShot(400, [&] {
        if (QWidget *d = QApplication::activeModalWidget()) {
            dialogSeen = true;
            save(d->grab().toImage(), QStringLiteral("graph-import.png"));
            d->close();
        }
    });
    app.OpenFileDialog(2, app.Main());
    settleQuick();
    if (!dialogSeen) QTest::qWait(500);
    if (!dialogSeen)
        placeholder(QStringLiteral("graph-import.png"), QStringLiteral("Choosing a target image"));

    s.ImagePath = QDir(s.InstallDir).filePath(QStringLiteral("Tutorial/target1.gif"));
    s.ShowAxes = true;
    s.ShowCentroid = true;
    app.ViewGraphicalEntry();
    settleQuick();
    QWidget *graph = topLevel("frmGraphEnter");
    QWidget *picture = child<QWidget>(graph, "Picture1");
    if (!picture) return false;
    graph->showNormal();
    graph->resize(900, 720);
    settleQuick();
    QWidget *tools = topLevel("frmToolBox");
    save(sideBySide({graph, app.TextOutput()}), QStringLiteral("graph-window.png"));
    // The clicks below are at the image's own pixels.
    if (auto *actual = graph->findChild<QAction *>(QStringLiteral("mnuZoomActual")))
        actual->trigger();
    settleQuick();

    // Four grid squares: 4 inches.
    prompter.QueueInput(QStringLiteral("4"));
    click(picture, QPoint(150, 75));
    QTest::mouseMove(picture, QPoint(300, 75));
    QTest::mouseMove(picture, QPoint(450, 75));
    click(picture, QPoint(450, 75));
    // The markers are a few pixels wide: show the part of the picture that
    // holds them, twice as large.
    save(zoomed(picture, QRect(120, 40, 360, 160)), QStringLiteral("graph-calibrate.png"));
    if (tools) save(tools->grab().toImage(), QStringLiteral("graph-toolbox.png"));
    click(picture, QPoint(300, 300));
    const double holes[][2] = {{0.35, 0.6}, {0.8, 0.25}, {0.15, 0.95}, {0.62, 0.88}, {0.45, 0.4}};
    for (const auto &h : holes)
        click(picture, QPoint(int(300 + h[0] * 75 + 0.5), int(300 - h[1] * 75 + 0.5)));
    save(zoomed(picture, QRect(180, 150, 270, 220)), QStringLiteral("graph-shots.png"));
    std::fprintf(stderr, "graphical entry: %d shots, group size %.3f, center %.3f %.3f\n",
                 int(s.ShotCount), double(s.GroupSize), double(s.MeanX), double(s.MeanY));
    app.CloseAll();
    settleQuick();
    return true;
}
} // namespace

int ShotsManual(int, char **)
{
    QApplication::setApplicationName(QStringLiteral("Peltrix"));
    QApplication::setQuitOnLastWindowClosed(false);
    const QStringList args = QCoreApplication::arguments().mid(1);
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: peltrix-screenshots INSTALL_DIR OUT_DIR\n");
        return 2;
    }
    outDir = args.at(2);
    QDir().mkpath(outDir);
    Session session;
    session.InstallDir = QDir(args.at(1)).absolutePath();
    ScriptedPrompter prompter;
    PeltrixApp app(session, prompter);
    frmMain *mainWindow = app.Start();
    settleQuick();
    save(mainWindow->grab().toImage(), QStringLiteral("main.png"));
    typedShots(app);
    app.ShowTutorial();
    settleQuick();
    if (QWidget *tutorial = topLevel("frmTutorial")) {
        tutorial->findChild<QPushButton *>(QStringLiteral("cmdTutorialNext"))->click();
        settleQuick();
        save(tutorial->grab().toImage(), QStringLiteral("tutorial.png"));
        tutorial->close();
    }
    app.ShowAbout(false);
    settleQuick();
    if (QWidget *about = topLevel("frmAbout")) {
        save(about->grab().toImage(), QStringLiteral("about.png"));
        about->close();
    }
    settleQuick();
    if (!graphicalEntry(app, prompter)) {
        placeholder(QStringLiteral("graph-import.png"), QStringLiteral("Choosing a target image"));
        placeholder(QStringLiteral("graph-window.png"),
                    QStringLiteral("The graphical entry window"));
        placeholder(QStringLiteral("graph-toolbox.png"), QStringLiteral("The toolbox"));
        placeholder(QStringLiteral("graph-calibrate.png"), QStringLiteral("Calibration markers"));
        placeholder(QStringLiteral("graph-shots.png"),
                    QStringLiteral("A group entered with the mouse"));
    }
    for (const PromptRecord &r : prompter.messages())
        std::fprintf(stderr, "message: %s: %s\n", qPrintable(r.title), qPrintable(r.text));
    return 0;
}
