// Screenshots of everyday use as a new user meets it, windows placed by the
// program and a real window manager: the first start, keyboard entry with the
// statistics window, graphical entry just after an import, and a 10-shot
// group at 25 %. Run by scripts/everyday-screenshots under xvfb and openbox;
// each picture is the whole screen, taken with ImageMagick's import.
#include "app/frmmain.h"
#include "entry/frmenterheader.h"
#include "entry/frmtextenter.h"
#include "graph/frmgraphenter.h"
#include "graph/picturebox.h"
#include "graph/pictureview.h"
#include "shots.h"
#include "testsupport.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPainter>
#include <QProcess>
#include <QPushButton>
#include <QtTest>
#include <array>

namespace {
using namespace Scan;

bool shoot(const QString &path)
{
    settle(800);
    return QProcess::execute(QStringLiteral("import"),
                             {QStringLiteral("-window"), QStringLiteral("root"), path}) == 0;
}

void AnswerHeader()
{
    WhenModal([](QWidget *w) {
        auto *h = qobject_cast<frmEnterHeader *>(w);
        if (!h) return;
        h->txtRangeToTarget->setText(QStringLiteral("50"));
        h->txtShooterName->setText(QStringLiteral("Ann"));
        h->cmdHeaderOk->click();
    });
}

void ClickAt(frmGraphEnter *w, QPointF px)
{
    PictureBox *pic = w->Picture1;
    const QPoint wp((px * pic->Zoom()).toPoint());
    w->View->ScrollTo(wp,
                      QPoint(w->View->viewport()->width() / 2, w->View->viewport()->height() / 2));
    QTest::mouseMove(pic, wp);
    QTest::mouseClick(pic, Qt::LeftButton, {}, wp);
    settle(30);
}
} // namespace

int ShotsEveryday(int argc, char **argv)
{
    const QString prefix = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs/");
    TestApp t;
    bool ok = true;
    t.app->Start();
    ok = shoot(prefix + QStringLiteral("first-start.png")) && ok;

    AnswerHeader();
    t.app->Main()->mnuTextDataItem_Click();
    frmTextEnter *e = t.app->TextEnter();
    const std::pair<const char *, const char *> shots[] = {
        {"0.25", "0.5"}, {"-0.375", "0.125"}, {"0.5", "-0.25"}, {"0.125", "0.75"}};
    for (const auto &[x, y] : shots) {
        e->txtEnterX->setText(QString::fromLatin1(x));
        e->txtEnterY->setText(QString::fromLatin1(y));
        e->cmdEnterTextData->click();
    }
    ok = shoot(prefix + QStringLiteral("keyboard.png")) && ok;

    // The user imports a scan, as the open dialog does it.
    const QString scan = MakeScan(t.dir.path());
    t.session.StatsSaved = true;
    ResetSession(t.session);
    t.session.ImagePath = scan;
    AnswerHeader();
    t.app->Main()->mnuGraphDataItem_Click();
    frmGraphEnter *w = t.app->GraphEnter();
    ok = shoot(prefix + QStringLiteral("graph-import.png")) && ok;

    t.prompter.QueueInput(QStringLiteral("10"));
    w->View->SetZoom(0.5);
    ClickAt(w, Centre - QPointF(5 * Dpi, 0));
    ClickAt(w, Centre + QPointF(5 * Dpi, 0));
    ClickAt(w, Centre);
    for (const QPointF &h : Holes) ClickAt(w, h);
    w->View->SetZoom(0.25);
    w->View->ScrollTo((Centre * 0.25).toPoint(),
                      QPoint(w->View->viewport()->width() / 2, w->View->viewport()->height() / 2));
    ok = shoot(prefix + QStringLiteral("graph-25.png")) && ok;
    qInfo("shots %d", t.session.ShotCount);
    t.app->CloseAll();
    return ok && t.session.ShotCount == 10 ? 0 : 1;
}
