// Find in the graphical entry window, driven with the mouse and keys: the
// search off the interface thread and its Cancel, the proposals, accepting
// and rejecting them, Enter Shots, Esc, Ctrl+Z, the refusals, the 21-shot
// limit and closing the window while a search runs.
#include "filetestutil.h"
#include "graph/findtool.h"
#include "graph/frmgraphenter.h"
#include "graph/frmtoolbox.h"
#include "graph/picturebox.h"
#include "synthtarget.h"
#include "testsupport.h"

#include <QApplication>
#include <QFile>
#include <QProgressDialog>
#include <QPushButton>
#include <QThreadPool>
#include <QtTest>

class TestFindHoles : public QObject {
    Q_OBJECT
private slots:
    void findInWindow();
};

void TestFindHoles::findInWindow()
{
    TestApp t;
    t.session.AppDataDir = t.dir.path();
    const SynthTarget target =
        MakeSynthTarget({.seed = 11, .dpi = 200, .caliber = 0.308, .singles = 7, .sizeInches = 3});
    const QString path = t.dir.filePath(QStringLiteral("scan.png"));
    QVERIFY(target.image.save(path, "PNG"));
    t.session.HeaderEntered = true;
    t.session.ImagePath = path;
    t.app->ViewGraphicalEntry();
    frmGraphEnter *w = t.app->GraphEnter();
    auto *tools = w->findChild<frmToolBox *>(QStringLiteral("frmToolBox"));
    PictureBox *pic = w->Picture1;
    QVERIFY(!tools->cmdFind->isEnabled() && !tools->cmdEnterShots->isEnabled());

    // Calibrated at 200 pixels to the inch, aim point in the middle.
    QTest::mouseClick(pic, Qt::LeftButton, {}, QPoint(100, 100));
    t.prompter.QueueInput(QStringLiteral("1"));
    QTest::mouseClick(pic, Qt::LeftButton, {}, QPoint(300, 100));
    QTest::mouseClick(pic, Qt::LeftButton, {}, QPoint(300, 300));
    QVERIFY(tools->cmdFind->isEnabled());
    const auto startFind = [&](const char *answer) {
        t.prompter.QueueInput(QString::fromLatin1(answer));
        QTest::mouseClick(tools->cmdFind, Qt::LeftButton, Qt::ShiftModifier);
    };
    const auto findWhole = [&](const char *answer) {
        startFind(answer);
        QTRY_VERIFY_WITH_TIMEOUT(!w->Finder->Searching(), 60000);
    };
    const auto lastMessage = [&] {
        const auto m = t.prompter.messages();
        return m.isEmpty() ? QString() : m.last().text;
    };
    for (const char *bad : {"abc", "0"}) {
        findWhole(bad);
        QCOMPARE(lastMessage(), QStringLiteral("The bullet diameter must be a positive number."));
        QVERIFY(!w->Finder->Showing());
    }

    findWhole("0.308");
    const HoleFinder &f = w->Finder->Finder;
    const int proposed = int(f.proposals.size());
    // The learned search is judged on real photos; on this drawn scan it
    // finds more than half the holes and hardly anything else.
    QVERIFY2(2 * proposed >= int(target.shots.size()) && proposed <= int(target.shots.size()) + 3,
             qPrintable(QString::number(proposed)));
    QVERIFY(tools->cmdEnterShots->isEnabled() && !tools->cmdFind->isEnabled());
    QVERIFY(QFile::exists(t.dir.filePath(QStringLiteral("find.ini"))));
    // A click on a proposal rejects it (and enters no shot); again accepts it.
    const HoleProposal first = f.proposals[0];
    const QPoint onFirst(int(first.x), int(first.y));
    QVERIFY(first.accepted);
    QTest::mouseClick(pic, Qt::LeftButton, {}, onFirst);
    QVERIFY(!f.proposals[0].accepted);
    QCOMPARE(t.session.ShotCount, 0);
    int accepted = 0;
    for (const HoleProposal &h : f.proposals) accepted += h.accepted;

    QTest::mouseClick(tools->cmdEnterShots, Qt::LeftButton);
    QCOMPARE(t.session.ShotCount, accepted);
    QVERIFY(!w->Finder->Showing() && !t.session.StatsSaved);
    // The shots lie on the true holes (a stray proposal aside), in reading order.
    int onHoles = 0;
    for (qint32 k = 1; k <= t.session.ShotCount; ++k) {
        const double x = (t.session.AimX + t.session.ShotX[k]) / t.session.ImageScale / 15;
        const double y = (t.session.AimY - t.session.ShotY[k]) / t.session.ImageScale / 15;
        onHoles += std::any_of(target.shots.begin(), target.shots.end(), [&](const QPointF &s) {
            return std::hypot(s.x() - x, s.y() - y) < 0.1 * target.diameterPixels;
        });
        if (k > 1) QVERIFY(t.session.ShotY[k] <= t.session.ShotY[k - 1]);
    }
    QVERIFY(onHoles >= accepted - 1);

    // Found again: only the holes not entered, with the diameter remembered; Esc drops them.
    findWhole("0.308");
    QCOMPARE(t.prompter.records.last().defaultAnswer, QStringLiteral("0.308"));
    QCOMPARE(int(f.proposals.size()), proposed - accepted);
    // Keys act in the active window, as on a desktop.
    const auto key = [](QWidget *window, Qt::Key k, Qt::KeyboardModifiers m = {}) {
        QApplication::setActiveWindow(window);
        QTest::keyClick(window, k, m);
    };
    key(w, Qt::Key_Escape);
    QVERIFY(!w->Finder->Showing());
    QCOMPARE(t.session.ShotCount, accepted);

    // Ctrl+Z takes back the Find, and only that.
    QTest::mouseClick(pic, Qt::LeftButton, {}, QPoint(20, 20));
    QCOMPARE(t.session.ShotCount, accepted + 1);
    key(w, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(t.session.ShotCount, 1);
    key(w, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(t.session.ShotCount, 1);

    // Cancel in the progress dialog leaves everything as it was, even once
    // the search has run to its end behind it.
    const QString settings = t.dir.filePath(QStringLiteral("find.ini"));
    const QByteArray remembered = ReadBytes(settings);
    startFind("0.3");
    auto *progress = w->findChild<QProgressDialog *>(QStringLiteral("FindProgress"));
    QVERIFY(progress && progress->isVisible() && w->Finder->Searching());
    QTest::mouseClick(progress->findChild<QPushButton *>(), Qt::LeftButton);
    QThreadPool::globalInstance()->waitForDone();
    QCoreApplication::processEvents();
    QVERIFY(!w->Finder->Searching() && !w->Finder->Showing());
    QVERIFY(t.session.ShotCount == 1 && tools->cmdFind->isEnabled() &&
            ReadBytes(settings) == remembered);

    // The 21-shot limit: the shots that do not fit are counted out.
    for (int k = 0; k < 19; ++k)
        QTest::mouseClick(pic, Qt::LeftButton, {}, QPoint(20 + 10 * k, 40));
    QCOMPARE(t.session.ShotCount, 20);
    findWhole("0.308");
    // Doubtful ones accepted with a click, so that more are taken than fit.
    for (const HoleProposal &h : std::vector<HoleProposal>(f.proposals))
        if (!h.accepted) QTest::mouseClick(pic, Qt::LeftButton, {}, QPoint(int(h.x), int(h.y)));
    accepted = 0;
    for (const HoleProposal &h : f.proposals) accepted += h.accepted;
    QVERIFY(accepted >= 2);
    key(tools, Qt::Key_Return);
    QCOMPARE(t.session.ShotCount, 21);
    QVERIFY(lastMessage().contains(
        QStringLiteral("%1 of the found shots were left out").arg(accepted - 1)));

    // Closing the window while a search runs.
    startFind("0.308");
    QVERIFY(w->Finder->Searching());
    const QPointer<frmGraphEnter> window(w);
    w->close();
    QTRY_VERIFY(!window);
    QThreadPool::globalInstance()->waitForDone();
}

QTEST_MAIN(TestFindHoles)
#include "test_findholes.moc"
