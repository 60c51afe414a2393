// The Target Sheet window driven through its menus and mouse offscreen, and
// the sheet command of the companion.
#include "app/frmmain.h"
#include "cardgen.h"
#include "filetestutil.h"
#include "logbook/logbook.h"
#include "sheet/frmtargetsheet.h"
#include "sheet/sheetcanvas.h"
#include "sheet/sheetfile.h"
#include "sheet/sheetpage.h"
#include "shownwindow.h"
#include "testsupport.h"
#include "tiltedphoto.h"

#include <QComboBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QtTest>

namespace {
QString SaveCard(const QTemporaryDir &dir, const Card &card, int dpi)
{
    QImage image = card.image;
    image.setDotsPerMeterX(int(std::lround(dpi / 0.0254)));
    image.setDotsPerMeterY(int(std::lround(dpi / 0.0254)));
    const QString path = dir.filePath(QStringLiteral("card.png"));
    image.save(path);
    return path;
}

void RunAndWait(frmTargetSheet *w, QPushButton *button)
{
    QSignalSpy done(w, &frmTargetSheet::WorkFinished);
    QTest::mouseClick(button, Qt::LeftButton);
    QVERIFY(done.wait(60000));
}

template <class T> T *Child(QWidget *w, const char *name)
{
    return w->findChild<T *>(QString::fromLatin1(name));
}

// Every line the page renderer lays out is in the PDF's text, and the load
// chart where the labels make one.
bool PageHolds(const QString &pdf, const SheetDocument &doc)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    p.waitForFinished(20000);
    const QString text = QString::fromUtf8(p.readAllStandardOutput()).simplified();
    QStringList lines = SheetPageLines(doc.Sheet(), doc.Figures(), 0);
    if (!LoadDevelopment(doc.Sheet(), doc.Figures()).empty())
        lines << QStringLiteral("Load development");
    return std::all_of(lines.begin(), lines.end(),
                       [&](const QString &l) { return text.contains(l.simplified()); });
}
} // namespace

class TestFrmTargetSheet : public QObject {
    Q_OBJECT
private slots:
    void scanToPrintedPage();
    void commandLine();
    void straightenCard();
};

void TestFrmTargetSheet::scanToPrintedPage()
{
    TestApp t;
    const Card card = MakeCard(CardOptions{});
    const QString scan = SaveCard(t.dir, card, 200);

    auto *main = t.app->findChild<frmMain *>();
    if (!main) main = qobject_cast<frmMain *>(t.app->MainWindow());
    QVERIFY(main);
    main->findChild<QAction *>(QStringLiteral("mnuViewSheet"))->trigger();
    auto *w = ShownWindow<frmTargetSheet>();
    QVERIFY(w);
    const SheetDocument &doc = w->Document();
    auto *mode = Child<QComboBox>(w, "cboMode");
    auto *grid = Child<QTableView>(w, "grdGroups")->model();
    t.prompter.QueueSaveFile(scan);
    w->findChild<QAction *>(QStringLiteral("mnuSheetImport"))->trigger();
    QCOMPARE(doc.Sheet().PixelsPerUnit, 200.0); // the resolution the scan records
    // Two clicks 400 pixels apart said to be 2 inches apart.
    mode->setCurrentIndex(2);
    auto *pic = Child<SheetCanvas>(w, "picSheet");
    t.prompter.QueueInput(QStringLiteral("2"));
    QTest::mouseClick(pic, Qt::LeftButton, {}, pic->ToWidget({100, 100}).toPoint());
    QTest::mouseClick(pic, Qt::LeftButton, {}, pic->ToWidget({100, 500}).toPoint());
    QVERIFY(std::abs(doc.Sheet().PixelsPerUnit - 200) < 2);
    QCOMPARE(mode->currentIndex(), 0);
    Child<QLineEdit>(w, "txtBullet")->setText(QStringLiteral("0.308"));
    QTest::keyClick(Child<QLineEdit>(w, "txtBullet"), Qt::Key_Return);
    QCOMPARE(doc.Sheet().BulletDiameter, 0.308);

    RunAndWait(w, Child<QPushButton>(w, "cmdFindAims"));
    QCOMPARE(doc.Sheet().Marks.size(), size_t(6));
    // Cancel pressed while the holes are searched: nothing changes.
    {
        QSignalSpy done(w, &frmTargetSheet::WorkFinished);
        QTest::mouseClick(Child<QPushButton>(w, "cmdFindHoles"), Qt::LeftButton);
        QVERIFY(w->Busy());
        QTest::mouseClick(Child<QPushButton>(w, "cmdCancel"), Qt::LeftButton);
        QVERIFY(done.wait(60000));
        QVERIFY(doc.Sheet().Shots.empty());
    }
    RunAndWait(w, Child<QPushButton>(w, "cmdFindHoles"));
    QCOMPARE(grid->rowCount(), 7);
    // Each group gets found shots of its own (the learned search finds most
    // of these drawn holes, never more than there are).
    std::vector<int> counted;
    for (int g = 0; g < 6; ++g) {
        counted.push_back(doc.Figures().Groups[size_t(g)].ShotCount);
        QVERIFY(counted.back() >= 1 && counted.back() <= 3);
    }

    // A click on a proposal rejects it; a click on bare paper adds a shot to
    // the group aimed there, below its bull.
    const auto sure = std::find_if(doc.Sheet().Shots.begin(), doc.Sheet().Shots.end(),
                                   [](const SheetShot &s) { return s.accepted; });
    const SheetShot first = *sure;
    const auto at = sure - doc.Sheet().Shots.begin();
    QTest::mouseClick(pic, Qt::LeftButton, {}, pic->ToWidget({first.x, first.y}).toPoint());
    QVERIFY(!doc.Sheet().Shots[size_t(at)].accepted);
    QCOMPARE(doc.Figures().Groups[size_t(first.group)].ShotCount, counted[size_t(first.group)] - 1);
    const QPointF below = card.marks[4] + QPointF(0, 0.6 * (card.marks[4].y() - card.marks[2].y()));
    QTest::mouseClick(pic, Qt::LeftButton, {}, pic->ToWidget(below).toPoint());
    QCOMPARE(doc.Sheet().Shots.back().group, 4);
    QCOMPARE(doc.Figures().Groups[4].ShotCount, counted[4] + 1 - (first.group == 4 ? 1 : 0));

    // The clicked shot moved to another group, then the labels make a chart.
    t.prompter.QueueInput(QStringLiteral("6"));
    w->findChild<QAction *>(QStringLiteral("mnuSheetMoveShot"))->trigger();
    QCOMPARE(doc.Sheet().Shots.back().group, 5);
    // Del takes a selected shot away.
    QTest::mouseClick(pic, Qt::LeftButton, {}, pic->ToWidget({40, 40}).toPoint());
    const size_t before = doc.Sheet().Shots.size();
    QTest::keyClick(pic, Qt::Key_Delete);
    QCOMPARE(doc.Sheet().Shots.size(), before - 1);
    // Ctrl+Z brings it back, Ctrl+Shift+Z takes it away again.
    QTest::keyClick(pic, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(doc.Sheet().Shots.size(), before);
    QTest::keyClick(pic, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(doc.Sheet().Shots.size(), before - 1);
    for (int g = 0; g < 6; ++g)
        grid->setData(grid->index(g, 1), QStringLiteral("%1 gr").arg(43 + 0.3 * g));
    QCOMPARE(doc.Sheet().Marks[5].label, QStringLiteral("44.5 gr"));

    const QString pdf = t.dir.filePath(QStringLiteral("card.pdf"));
    QVERIFY(w->PrintSheet(pdf));
    QVERIFY(ReadBytes(pdf).startsWith("%PDF") && PageHolds(pdf, doc));

    const QString saved = t.dir.filePath(QStringLiteral("card.pxsheet"));
    t.prompter.QueueSaveFile(saved);
    w->findChild<QAction *>(QStringLiteral("mnuSheetSave"))->trigger();
    QVERIFY(!doc.Modified());
    // Undone past the save the sheet is changed; redone it is as saved.
    QTest::keyClick(pic, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(doc.Modified() && doc.Sheet().Marks[5].label.isEmpty());
    QTest::keyClick(pic, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QVERIFY(!doc.Modified());
    // A damaged file leaves the open sheet as it was.
    const QString bad = t.dir.filePath(QStringLiteral("bad.pxsheet"));
    QVERIFY(
        WriteBytes(bad, "{\"format\": \"Peltrix target sheet\", \"version\": 1, \"marks\": 5}"));
    const size_t shots = doc.Sheet().Shots.size();
    QVERIFY(!w->OpenSheet(bad));
    QCOMPARE(doc.Sheet().Shots.size(), shots);
    QCOMPARE(doc.Path(), saved);
    // Opened again from the main window's File menu, and by the companion.
    w->close();
    t.prompter.QueueSaveFile(saved);
    main->findChild<QAction *>(QStringLiteral("mnuOpenSheet"))->trigger();
    QCOMPARE(doc.Figures().Groups[5].ShotCount, 4);
    const CliRun cli = RunCliCaptured({QStringLiteral("sheet"), saved, QStringLiteral("--json")});
    const QJsonObject o = QJsonDocument::fromJson(cli.out.toUtf8()).object();
    QCOMPARE(o[QStringLiteral("groups")][5][QStringLiteral("label")].toString(),
             QStringLiteral("44.5 gr"));
    QCOMPARE(o[QStringLiteral("groups")][5][QStringLiteral("shots")].toArray().size(), 4);
    // The same page from the companion; onto a folder it is refused.
    const QString page = t.dir.filePath(QStringLiteral("page.pdf"));
    QCOMPARE(RunCliLine(QStringLiteral("sheet %1 --pdf %2").arg(saved, page)).code, 0);
    QVERIFY(PageHolds(page, doc));
    QCOMPARE(RunCliLine(QStringLiteral("sheet %1 --pdf %2").arg(saved, t.dir.path())).code, 1);

    // Without its scan the sheet still opens, with its data and a message.
    QVERIFY(QFile::rename(scan, scan + QStringLiteral(".away")));
    t.prompter.clear();
    QVERIFY(w->OpenSheet(saved));
    QCOMPARE(doc.Figures().Groups[5].ShotCount, 4);
    QCOMPARE(t.prompter.messages().size(), 1);

    // All groups into the logbook, each label its load.
    t.session.AppDataDir = t.dir.filePath(QStringLiteral("appdata"));
    w->findChild<QAction *>(QStringLiteral("mnuSheetLogAll"))->trigger();
    Logbook book;
    QVERIFY(book.Open(t.app->LogbookPath()));
    const auto kept = book.Groups();
    QVERIFY(kept && kept->size() == 6);
    QCOMPARE(kept->back().Load.Text.isEmpty(), false);
    w->close();
}

void TestFrmTargetSheet::commandLine()
{
    QTemporaryDir dir;
    const Card card = MakeCard(CardOptions{});
    const QString scan = SaveCard(dir, card, 200);
    const CliRun run = RunCliCaptured({QStringLiteral("sheet"), scan, QStringLiteral("--bullet"),
                                       QStringLiteral("0.308"), QStringLiteral("--dpi"),
                                       QStringLiteral("200"), QStringLiteral("--range"),
                                       QStringLiteral("100"), QStringLiteral("--json")});
    QCOMPARE(run.code, 0);
    const QJsonObject o = QJsonDocument::fromJson(run.out.toUtf8()).object();
    QCOMPARE(o[QStringLiteral("aims")].toArray().size(), 6);
    const QJsonArray groups = o[QStringLiteral("groups")].toArray();
    int total = 0, pooled = 0;
    for (const QJsonValue &g : groups) {
        const auto shots = g[QStringLiteral("shots")].toArray().size();
        QVERIFY(shots <= 3);
        total += int(shots);
        pooled += shots >= 2 ? int(shots) : 0;
        // Below the bull: y up from the aim is negative.
        if (shots) QVERIFY(g[QStringLiteral("shots")][0][QStringLiteral("dy")].toDouble() < -1);
        QCOMPARE(g[QStringLiteral("analysis")][QStringLiteral("ShotCount")].toInt(), int(shots));
    }
    QVERIFY(total >= 9);
    QCOMPARE(o[QStringLiteral("pooled")][QStringLiteral("ShotCount")].toInt(), pooled);

    // Usage faults exit 2, bad values and a missing sheet 1; nothing on stdout.
    const std::pair<const char *, int> refused[] = {{"%1 --dpi 200", 2},
                                                    {"%1 --bullet 0.3 --dpi 200 --scale 200", 2},
                                                    {"%1 --bullet -1 --dpi 200", 1},
                                                    {"%1 --bullet 0.3 --dpi 200 --aim 9999,5", 1},
                                                    {"%1.pxsheet", 1},
                                                    {"%1.pxsheet --pdf x.pdf", 1},
                                                    {"%1 --bullet 0.3 --dpi 200 --pdf x.pdf", 2}};
    for (const auto &[args, code] : refused) {
        const CliRun bad =
            RunCliLine(QStringLiteral("sheet ") + QString::fromLatin1(args).arg(scan));
        QCOMPARE(bad.code, code);
        QVERIFY(bad.out.isEmpty());
    }
}

void TestFrmTargetSheet::straightenCard()
{
    TestApp t;
    const TiltedPhoto card = MakeTiltedPhoto();
    const QString photo = t.dir.filePath(QStringLiteral("card.png"));
    QVERIFY(card.image.save(photo));
    const QByteArray original = ReadBytes(photo);
    frmTargetSheet *w = t.app->TargetSheet();
    w->show();
    QVERIFY(w->ImportScan(photo));
    const SheetDocument &doc = w->Document();
    auto *pic = Child<SheetCanvas>(w, "picSheet");
    auto *mode = Child<QComboBox>(w, "cboMode");
    auto click = [&](QPointF px) {
        QTest::mouseClick(pic, Qt::LeftButton, {}, pic->ToWidget(px).toPoint());
    };
    // A mark on one dot, a shot on another; the photo has no scale.
    mode->setCurrentIndex(1);
    click(card.DotOnPhoto(0));
    mode->setCurrentIndex(0);
    click(card.DotOnPhoto(1));
    QVERIFY(!doc.Sheet().Scaled() && doc.Sheet().Shots.size() == 1 &&
            doc.Sheet().Shots[0].group == 0);

    w->findChild<QAction *>(QStringLiteral("mnuSheetStraighten"))->trigger();
    t.prompter.QueueInput(QStringLiteral("8"));
    t.prompter.QueueInput(QStringLiteral("6"));
    for (const QPointF &c : card.corners) click(c);
    const QString flat = t.dir.filePath(QStringLiteral("card straightened.png"));
    QCOMPARE(doc.Sheet().ImagePath, flat);
    QCOMPARE(pic->Image().size(), QImage(flat).size());
    QCOMPARE(ReadBytes(photo), original);
    QVERIFY(t.prompter.messages().isEmpty());
    // The shot keeps its place on the card: scaled from the rectangle, it
    // lies at its true offset from the mark (y up).
    auto trueOffset = [&](const TargetSheet &s) {
        const std::vector<ShotXY> shots = s.GroupShots(0);
        return shots.size() == 1 && std::abs(shots[0].x - 5) < 0.05 &&
               std::abs(shots[0].y + 3) < 0.05;
    };
    QVERIFY(trueOffset(doc.Sheet()));

    // Saved and read back: the straightened picture, the photo it came from
    // with the corners clicked, and the size.
    const QString saved = t.dir.filePath(QStringLiteral("card.pxsheet"));
    QVERIFY(w->SaveSheet(saved));
    TargetSheet back;
    QVERIFY(OpenSheetFile(saved, back));
    QCOMPARE(back.ImagePath, flat);
    QVERIFY(back.Original && back.Original->ImagePath == photo);
    QCOMPARE(std::pair(back.Original->Width, back.Original->Height), std::pair(8.0, 6.0));
    for (size_t k = 0; k < 4; ++k)
        QVERIFY(std::hypot(back.Original->Corners[k].x() - card.corners[k].x(),
                           back.Original->Corners[k].y() - card.corners[k].y()) < 1.5);
    QVERIFY(trueOffset(back));
    QVERIFY(w->OpenSheet(saved));
    QCOMPARE(pic->Image().size(), QImage(flat).size());
    QVERIFY(trueOffset(doc.Sheet()));
    w->close();
}

QTEST_MAIN(TestFrmTargetSheet)
#include "test_frmtargetsheet.moc"
