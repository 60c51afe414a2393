// Target sheets through the real parts: generated cards read mark by mark and
// shot by shot, the sheet file and its damaged variants, and the exports read
// back by the classic code.
#include "cardgen.h"
#include "detect/scanreader.h"
#include "files/statsfile.h"
#include "filetestutil.h"
#include "sheet/aimfinder.h"
#include "sheet/assign.h"
#include "sheet/sheetexport.h"
#include "sheet/sheetfile.h"
#include "sheet/sheetwork.h"
#include "testsupport.h"

#include <QtTest>
#include <cmath>

namespace {
TargetSheet SampleSheet(const QString &folder)
{
    TargetSheet s;
    s.ImagePath = QDir(folder).filePath(QStringLiteral("card.png"));
    s.PixelsPerUnit = 300;
    s.RangeYards = 100;
    s.BulletDiameter = 0.308;
    s.Header.Firearm = QStringLiteral("Bolt \u00e9t\u00e9");
    s.Marks = {{300, 400, 150, QRectF(100, 200, 400, 500), QStringLiteral("43.5 gr")},
               {900, 400, 150, {}, QStringLiteral("44.0 gr")}};
    s.Shots = {{310, 700, 0, ShotSource::Found, 0.93, true},
               {330, 720, 0, ShotSource::Clicked, 1, true},
               {910, 705, 1, ShotSource::Found, 0.6, false},
               {50, 50, -1, ShotSource::Clicked, 1, true}};
    s.Original =
        SheetOriginal{QDir(folder).filePath(QStringLiteral("photo.jpg")),
                      {QPointF(10, 12), QPointF(1190, 30), QPointF(1170, 1590), QPointF(25, 1570)},
                      8.5,
                      11};
    return s;
}

bool SameSheet(const TargetSheet &a, const TargetSheet &b)
{
    if (a.ImagePath != b.ImagePath || a.PixelsPerUnit != b.PixelsPerUnit ||
        a.UnitName != b.UnitName || a.RangeYards != b.RangeYards ||
        a.BulletDiameter != b.BulletDiameter || a.Header.Firearm != b.Header.Firearm ||
        a.Marks.size() != b.Marks.size() || a.Shots.size() != b.Shots.size() ||
        a.Original.has_value() != b.Original.has_value())
        return false;
    if (a.Original &&
        (a.Original->ImagePath != b.Original->ImagePath ||
         a.Original->Corners != b.Original->Corners || a.Original->Width != b.Original->Width))
        return false;
    for (size_t i = 0; i < a.Marks.size(); ++i)
        if (a.Marks[i].x != b.Marks[i].x || a.Marks[i].cell != b.Marks[i].cell ||
            a.Marks[i].label != b.Marks[i].label)
            return false;
    for (size_t i = 0; i < a.Shots.size(); ++i)
        if (a.Shots[i].y != b.Shots[i].y || a.Shots[i].group != b.Shots[i].group ||
            a.Shots[i].source != b.Shots[i].source || a.Shots[i].accepted != b.Shots[i].accepted ||
            a.Shots[i].confidence != b.Shots[i].confidence)
            return false;
    return true;
}
} // namespace

class TestSheet : public QObject {
    Q_OBJECT
private slots:
    void cards_data();
    void cards();
    void damagedFiles_data();
    void damagedFiles();
    void roundTripAndExports();
    void sameSearchAsDetect();
};

void TestSheet::cards_data()
{
    QTest::addColumn<int>("columns");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("marks");
    QTest::addColumn<bool>("colour");
    QTest::addColumn<bool>("cells");
    QTest::addColumn<double>("drop");
    QTest::addColumn<double>("caliber");
    QTest::addColumn<double>("spread");
    // The share of the true shots the hole search must propose (the learned
    // search is judged on real photos; on these drawn cards it finds most).
    QTest::addColumn<double>("recall");
    // How far a found mark may lie from its true centre, in inches: three
    // holes through a small diamond leave too little of it to place it closer.
    QTest::addColumn<double>("aimError");
    QTest::newRow("6 bulls, mixed black, groups nearer the next bull")
        << 2 << 3 << int(CardOptions::Mixed) << false << false << 0.62 << 0.308 << 0.25 << 0.8
        << 0.04;
    QTest::newRow("25 bulls, ringed, groups nearer the next bull")
        << 5 << 5 << int(CardOptions::Ringed) << false << false << 0.6 << 0.224 << 0.12 << 0.8
        << 0.04;
    QTest::newRow("25 bulls, solid colour discs") << 5 << 5 << int(CardOptions::Solid) << true
                                                  << false << 0.65 << 0.224 << 0.12 << 0.8 << 0.04;
    QTest::newRow("6 bulls, groups through their bulls")
        << 2 << 3 << int(CardOptions::Mixed) << false << false << 0.0 << 0.308 << 0.15 << 0.3
        << 0.15;
    QTest::newRow("6 bulls in printed cells")
        << 2 << 3 << int(CardOptions::Mixed) << false << true << 0.3 << 0.308 << 0.2 << 0.8 << 0.04;
}

void TestSheet::cards()
{
    QFETCH(int, columns);
    QFETCH(int, rows);
    QFETCH(int, marks);
    QFETCH(bool, colour);
    QFETCH(bool, cells);
    QFETCH(double, drop);
    QFETCH(double, caliber);
    QFETCH(double, spread);
    QFETCH(double, recall);
    QFETCH(double, aimError);
    CardOptions o;
    o.caliber = caliber;
    o.spread = spread;
    o.columns = columns;
    o.rows = rows;
    o.marks = CardOptions::Marks(marks);
    o.colour = colour;
    o.cells = cells;
    o.drop = drop;
    const Card card = MakeCard(o);

    TargetSheet sheet;
    sheet.PixelsPerUnit = o.dpi;
    sheet.BulletDiameter = o.caliber;
    sheet.Marks = FindAimMarks(card.image, card.bulletPixels);
    if (drop == 0 && sheet.Marks.size() + 1 == card.marks.size()) {
        // Three ragged holes through one small bull can hide it from the mark
        // search; the card is then read from the true marks.
        sheet.Marks.clear();
        for (const QPointF &m : card.marks) sheet.Marks.push_back({m.x(), m.y(), 0, {}, {}});
    }
    QCOMPARE(sheet.Marks.size(), card.marks.size());
    for (size_t k = 0; k < card.marks.size(); ++k) {
        if (sheet.Marks[k].size == 0) continue; // a true mark put in above
        QVERIFY2(std::hypot(sheet.Marks[k].x - card.marks[k].x(),
                            sheet.Marks[k].y - card.marks[k].y()) < aimError * o.dpi,
                 qPrintable(QStringLiteral("mark %1").arg(k + 1)));
        QCOMPARE(!sheet.Marks[k].cell.isEmpty(), cells);
    }

    // The true shots, clicked in: each in the group of its bull.
    TargetSheet clicked = sheet;
    for (const QPointF &s : card.shots)
        clicked.Shots.push_back({s.x(), s.y(), -1, ShotSource::Clicked, 1, true});
    AssignShots(clicked);
    for (size_t i = 0; i < card.shots.size(); ++i) QCOMPARE(clicked.Shots[i].group, card.groups[i]);

    // Found by the detector: every sure hole is a true shot, and every
    // proposal on a true shot is in that shot's group.
    QVERIFY(ReadCard(sheet, card.image));
    int matched = 0;
    for (const SheetShot &s : sheet.Shots) {
        size_t nearest = 0;
        for (size_t i = 1; i < card.shots.size(); ++i)
            if (std::hypot(card.shots[i].x() - s.x, card.shots[i].y() - s.y) <
                std::hypot(card.shots[nearest].x() - s.x, card.shots[nearest].y() - s.y))
                nearest = i;
        const bool onShot = std::hypot(card.shots[nearest].x() - s.x,
                                       card.shots[nearest].y() - s.y) < 0.3 * card.bulletPixels;
        QVERIFY2(onShot || !s.accepted, qPrintable(QStringLiteral("%1 %2").arg(s.x).arg(s.y)));
        if (!onShot) continue;
        QCOMPARE(s.group, card.groups[nearest]);
        ++matched;
    }
    QVERIFY2(matched >= int(card.shots.size() * recall), qPrintable(QString::number(matched)));
    const SheetFigures f = AnalyzeSheet(sheet);
    QVERIFY(f.Pooled.has_value());
}

void TestSheet::damagedFiles_data()
{
    QTest::addColumn<QByteArray>("from");
    QTest::addColumn<QByteArray>("to");
    QTest::newRow("cut short") << QByteArray("\"shots\"") << QByteArray("\"sh");
    QTest::newRow("another program's JSON")
        << QByteArray("Peltrix target sheet") << QByteArray("Other sheet");
    QTest::newRow("a newer version")
        << QByteArray("\"version\": 1") << QByteArray("\"version\": 2");
    QTest::newRow("a group with no mark")
        << QByteArray("\"group\": 2") << QByteArray("\"group\": 7");
    QTest::newRow("a coordinate that is text")
        << QByteArray("\"x\": 310") << QByteArray("\"x\": \"310\"");
    QTest::newRow("a negative scale")
        << QByteArray("\"pixelsPerUnit\": 300") << QByteArray("\"pixelsPerUnit\": -300");
    QTest::newRow("an unknown way of entry")
        << QByteArray("\"clicked\"") << QByteArray("\"typed\"");
    QTest::newRow("a confidence above 1")
        << QByteArray("\"confidence\": 0.93") << QByteArray("\"confidence\": 93");
    QTest::newRow("corners of the original that are no list")
        << QByteArray("\"corners\": [") << QByteArray("\"corners\": 4, \"x\": [");
    QTest::newRow("an original without its size")
        << QByteArray("\"size\": [") << QByteArray("\"sizes\": [");
    QTest::newRow("huge group number")
        << QByteArray("\"group\": 2") << QByteArray("\"group\": 1e300");
}

void TestSheet::damagedFiles()
{
    QFETCH(QByteArray, from);
    QFETCH(QByteArray, to);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("s.pxsheet"));
    QByteArray bytes = SheetFileBytes(SampleSheet(dir.path()), path);
    QVERIFY2(bytes.contains(from), bytes.constData());
    bytes.replace(bytes.indexOf(from), from.size(), to);
    TargetSheet open = SampleSheet(QStringLiteral("/elsewhere"));
    const TargetSheet before = open;
    QString why;
    QVERIFY(!ParseSheetFile(bytes, path, open, &why));
    QVERIFY(!why.isEmpty());
    QVERIFY(SameSheet(open, before));
}

void TestSheet::roundTripAndExports()
{
    QTemporaryDir dir;
    const TargetSheet sheet = SampleSheet(dir.path());
    const QString path = dir.filePath(QStringLiteral("card.pxsheet"));
    QVERIFY(SaveSheetFile(sheet, path));
    QVERIFY(ReadBytes(path).contains("\"image\": \"card.png\"")); // beside the sheet: relative
    QVERIFY(ReadBytes(path).contains("\"image\": \"photo.jpg\""));
    TargetSheet back;
    QVERIFY(OpenSheetFile(path, back));
    QVERIFY(SameSheet(back, sheet));

    // Each group as a .pxs the classic reader opens, label in the comments.
    QStringList written;
    QString why;
    QVERIFY(ExportGroupFiles(sheet, dir.path(), QStringLiteral("card"), &written, &why));
    QCOMPARE(written.size(), 1); // the second group's only shot is rejected
    Session s;
    PrepareTestSession(s);
    QVERIFY(OpenStatsFile(s, written.front(), &why));
    QCOMPARE(s.ShotCount, 2);
    QCOMPARE(s.ShotX[1], float(10.0 / 300));
    QCOMPARE(s.ShotY[2], float(-320.0 / 300));
    QVERIFY(s.Comments.startsWith(QStringLiteral("43.5 gr")));

    // More shots than a .pxs holds: refused by name, nothing written.
    TargetSheet big = sheet;
    big.Marks[1].label = QStringLiteral("44.0 gr");
    for (int k = 0; k < 22; ++k)
        big.Shots.push_back({900.0 + k, 700, 1, ShotSource::Clicked, 1, true});
    QTemporaryDir other;
    QVERIFY(!ExportGroupFiles(big, other.path(), QStringLiteral("big"), &written, &why));
    QVERIFY(why.contains(QStringLiteral("Group 2 (44.0 gr)")));
    QVERIFY(QDir(other.path()).entryList(QDir::Files).isEmpty());

    const QStringList csv = QString::fromUtf8(SheetCsvBytes(sheet, QStringLiteral("card")))
                                .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(csv.size(), 3);
    QCOMPARE(csv[1], QStringLiteral("card,1,43.5 gr,1,0.0333,-1.0000,1.0006,Inches"));
}

void TestSheet::sameSearchAsDetect()
{
    // A card read from its file (turned upright, as the sheet reads it) gives
    // the very holes detect gives for the same file, scale and bullet.
    const QString photo =
        QStringLiteral(PELTRIX_TEST_DATA "/photos/images/5_2036-14-04-2023_API_v1.jpg");
    QString why;
    const auto card = ReadCardImage(photo, &why);
    QVERIFY2(card, qPrintable(why));
    const auto onCard = FindCardHoles(*card, 24);
    HoleRequest r;
    r.pixelsPerUnit = 24;
    r.bulletDiameter = 1;
    const auto detected = FindHolesInFile(photo, r, &why);
    QVERIFY(onCard && detected && !onCard->empty());
    QCOMPARE(onCard->size(), detected->holes.size());
    for (size_t i = 0; i < onCard->size(); ++i) {
        QCOMPARE((*onCard)[i].x, detected->holes[i].x);
        QCOMPARE((*onCard)[i].y, detected->holes[i].y);
        QCOMPARE((*onCard)[i].confidence, detected->holes[i].confidence);
    }
}

QTEST_MAIN(TestSheet)
#include "test_sheet.moc"
