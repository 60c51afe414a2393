// The report's positions and texts, on a recording surface, a real PDF page
// and the statistics window.
#include "app/textnum.h"
#include "platform/pagejob.h"
#include "stats/frmtextoutput.h"
#include "stats/groupstats.h"
#include "stats/report.h"
#include "testsupport.h"

#include <QProcess>
#include <QStandardPaths>
#include <QtTest>

namespace {
// Fixed metrics: every line 195 twips high, every character 90 wide.
constexpr double H = 195;

void render(Session &s, RecordingSurface &out, bool window)
{
    s.ReportTarget = &out;
    s.RenderToWindow = window;
    PrintGroupStats(s);
    s.RenderToWindow = false;
}

// Where a text was drawn; (-1, -1) when it was not.
QPointF pos(const RecordingSurface &out, const QString &text)
{
    const ReportItem *i = out.Find(text);
    return i ? QPointF(i->x, i->y) : QPointF(-1, -1);
}

QStringList texts(const RecordingSurface &out)
{
    QStringList t;
    for (const auto &i : out.Items()) t << i.text;
    return t;
}
} // namespace

class TestReport : public QObject {
    Q_OBJECT
private slots:
    void shotRowsAndFigures();
    void moaOnlyWithRange();
    void pageHeaderAndOffsets();
    void emptyGroup();
    void fullGroupFitsAboveTheSummary();
    void noTextOverText_data();
    void noTextOverText();
    void pdfPage();
    void statisticsWindowRepaints();
};

void TestReport::shotRowsAndFigures()
{
    Session s;
    PrepareTestSession(s);
    AddShots(s, {{1, 1}, {0.5f, -0.5f}, {-0.25f, 1.5f}});
    RecordingSurface out;
    render(s, out, true);

    // Shot 3's row: number at 500, then each text 1000/850/1300 past the previous.
    const double rowY = 400 + 3 * H;
    const ReportItem *n = out.Find(QStringLiteral("03"));
    QVERIFY(n);
    QCOMPARE(n->x, 500.0);
    QCOMPARE(n->y, rowY);
    const ReportItem *x = out.Find(QStringLiteral("-0.250"));
    QVERIFY(x);
    QCOMPARE(x->x, 500 + 2 * 90 + 1000.0);
    QCOMPARE(x->y, rowY);
    const ReportItem *y = out.Find(QStringLiteral(" 1.500"));
    QVERIFY(y);
    QCOMPARE(y->x, x->x + 6 * 90 + 850);
    const ReportItem *r = out.Find(QStringLiteral("1.521"));
    QVERIFY(r);
    QCOMPARE(r->x, y->x + 6 * 90 + 1300);

    QCOMPARE(pos(out, QStringLiteral("01")).y(), 400 + H);
    QVERIFY(out.Find(QStringLiteral("Inches")));
    QCOMPARE(pos(out, QStringLiteral("Inches")).x(), 1250.0);
    QCOMPARE(pos(out, QStringLiteral("3")), QPointF(1450, 5500));

    // Group center without a leading blank.
    const QString cx = FormatPicture(s.MeanX, QStringLiteral("##0.000"));
    QCOMPARE(cx, QStringLiteral("0.417"));
    QCOMPARE(pos(out, cx).x(), 1950 + 1250.0);
    QCOMPARE(pos(out, FormatPicture(s.MeanY, QStringLiteral("##0.000"))).x(), 3750 + 1250.0);

    const QString size =
        FormatPicture(s.GroupSize, QStringLiteral("#0.000")) + QStringLiteral(" Inches");
    QCOMPARE(pos(out, size).x(), 2100.0);
    QCOMPARE(pos(out, size).y(), 5750.0);

    // The R row: SD has no leading blank, steps 1350 then 1300.
    const QString meanR = QLatin1Char(' ') + FormatPicture(s.MeanR, QStringLiteral("###0.000"));
    const ReportItem *mr = out.Find(meanR);
    QVERIFY(mr);
    QCOMPARE(mr->x, 450.0);
    QCOMPARE(mr->y, 7000 + H);
    const QString sdR = FormatPicture(s.SdR, QStringLiteral("###0.000"));
    QCOMPARE(pos(out, sdR).x(), 450 + meanR.size() * 90 + 1350.0);

    QVERIFY(out.Find(QStringLiteral("Value Units:  ")));
    QCOMPARE(pos(out, QStringLiteral("Distance From Aim Point")).x(), 3950.0);
    QVERIFY(!texts(out).join(QLatin1Char('|')).contains(QStringLiteral("MOA")));
}

void TestReport::moaOnlyWithRange()
{
    Session s;
    PrepareTestSession(s);
    AddShots(s, {{0, 0}, {1.047198f, 0}});
    s.RangeEntered = true;
    s.RangeToTarget = 100;
    RecordingSurface out(ReportFont());
    render(s, out, true);
    const ReportItem *moa = out.Find(QStringLiteral("1.00 MOA"));
    QVERIFY(moa);
    QCOMPARE(moa->x, 3300.0); // its usual place: the size text ends well before it
    QCOMPARE(moa->y, 5750.0);

    // The group size is used as it stands, whatever the unit says.
    // Metric sizes are turned into inches before the angle is taken.
    s.UnitName = QStringLiteral("CENTIMETERS");
    s.RangeToTarget = 50;
    render(s, out, true);
    QVERIFY(out.Find(QStringLiteral("0.79 MOA")));
    s.UnitName = QStringLiteral("Millimeters");
    s.GroupSize = 26.6f;
    s.RangeToTarget = 100;
    render(s, out, true);
    QVERIFY(out.Find(QStringLiteral("1.00 MOA")));
    s.UnitName = QStringLiteral("Yards");
    render(s, out, true);
    QVERIFY(out.Find(QStringLiteral("25.40 MOA")));

    // A range that is not positive never divides.
    s.RangeToTarget = 0;
    render(s, out, true);
    QVERIFY(!texts(out).join(QLatin1Char('|')).contains(QStringLiteral("MOA")));
    s.RangeEntered = false;
    s.RangeToTarget = 100;
    render(s, out, true);
    QVERIFY(!texts(out).join(QLatin1Char('|')).contains(QStringLiteral("MOA")));
}

void TestReport::pageHeaderAndOffsets()
{
    Session s;
    PrepareTestSession(s);
    s.ShooterName = FixedWidth(QStringLiteral("Ann"), ShooterNameWidth);
    s.RangeToTarget = 87.5f;
    s.Comments = FixedWidth(QStringLiteral("Windy, 5 °C, café"), CommentsWidth);
    AddShots(s, {{1, 1}, {2, 2}});
    RecordingSurface out;
    render(s, out, false);

    const ReportItem *first = out.Find(QStringLiteral("Shooter Name: ") + s.ShooterName);
    QVERIFY(first);
    QCOMPARE(first->x, 2500.0);
    QCOMPARE(first->y, 5 * H);
    QCOMPARE(pos(out, QStringLiteral("Range to Target: 87.5")).y(), 15 * H);
    QCOMPARE(pos(out, QStringLiteral("General Comments: ")).y(), 17 * H);
    QCOMPARE(pos(out, s.Comments.trimmed()).y(), 19 * H);
    QCOMPARE(pos(out, QStringLiteral("Number of Shots:")).x(), 2550.0);
    QCOMPARE(pos(out, QStringLiteral("Number of Shots:")).y(), 13000.0);
    QCOMPARE(pos(out, QStringLiteral("01")).x(), 3000.0);

    // A comment of many lines pushes the body down, clear of its last line.
    Session tall = s;
    tall.Comments = QStringLiteral("line\n").repeated(40);
    RecordingSurface tallOut;
    render(tall, tallOut, false);
    const double lastLine = tallOut.Items()[7 + 39].y;
    QCOMPARE(tallOut.Items()[7 + 39].text, QStringLiteral("line"));
    QVERIFY(pos(tallOut, QStringLiteral("Value Units:  ")).y() > lastLine + H);
    QCOMPARE(pos(tallOut, QStringLiteral("Number of Shots:")).y() -
                 pos(tallOut, QStringLiteral("Value Units:  ")).y(),
             5500.0 - 20);
    QCOMPARE(tall.ReportTop[0], 20);

    // The offsets are undone: the window layout is as before.
    QCOMPARE(s.ReportLeft[0], 50);
    QCOMPARE(s.ReportTop[0], 20);
    QCOMPARE(s.ReportTop[13], 7000);

    // A window rendering has no header block and starts from a clear surface.
    render(s, out, true);
    QVERIFY(!out.Find(QStringLiteral("General Comments: ")));
    QCOMPARE(pos(out, QStringLiteral("Number of Shots:")).y(), 5500.0);
}

void TestReport::emptyGroup()
{
    Session s;
    PrepareTestSession(s);
    RecordingSurface out;
    render(s, out, true);
    QCOMPARE(pos(out, QStringLiteral("0")), QPointF(1450, 5500));
    QVERIFY(out.Find(QStringLiteral("0.000 Inches")));
    QVERIFY(out.Find(QStringLiteral(" 0.000")));
    QVERIFY(out.Find(QStringLiteral("0.000"))); // the SD of R and the ranges: no blank
    QVERIFY(!out.Find(QStringLiteral("01")));
    // With a single shot there is no group center either.
    AddShots(s, {{1.5f, -2}});
    render(s, out, true);
    QVERIFY(out.Find(QStringLiteral("2.500")));
    QVERIFY(!out.Find(QStringLiteral("1.500")));
    QVERIFY(out.Find(QStringLiteral(" 1.500")));
}

void TestReport::fullGroupFitsAboveTheSummary()
{
    // With the real font the 21st shot's row must stay above "Number of Shots:".
    Session s;
    PrepareTestSession(s);
    for (int k = 0; k < ShotCapacity; ++k) AddShots(s, {{float(k) - 10, float(k) * 0.5f}});
    RecordingSurface out(ReportFont());
    render(s, out, true);
    const ReportItem *last = out.Find(QStringLiteral("21"));
    QVERIFY(last);
    QVERIFY2(last->y + out.TextHeight(QStringLiteral("00.00")) <= 5500,
             qPrintable(QString::number(last->y)));

    // And on paper, where the line height comes from the page's resolution.
    QTemporaryDir dir;
    auto job = PageJob::Pdf(dir.filePath(QStringLiteral("p.pdf")), QStringLiteral("t"));
    QVERIFY(job);
    PainterSurface paper(job->Painter(), ReportFont(), job->Dpi());
    const qint32 h = paper.TextHeight(QStringLiteral("00.00"));
    QVERIFY(h > 100);
    QVERIFY2(400 + 22 * h <= 5500, qPrintable(QString::number(h)));
    job->End();
}

void TestReport::noTextOverText_data()
{
    QTest::addColumn<QString>("unit");
    for (const char *unit :
         {"Inches", "Centimeters", "Millimeters", "Thirty characters of unit nam"})
        QTest::newRow(unit) << QString::fromLatin1(unit);
}

void TestReport::noTextOverText()
{
    // Large figures, a range, every header field full and a comment of the
    // whole 354 characters: on the window and on the page, no text touches
    // another and the page's texts stay on the page.
    QFETCH(QString, unit);
    QCOMPARE(unit.size() <= 30, true);
    Session s;
    PrepareTestSession(s);
    s.UnitName = unit;
    s.RangeEntered = true;
    s.RangeToTarget = 1000;
    for (int k = 0; k < 12; ++k) AddShots(s, {{-60.0f + float(k) * 10.1f, float(k % 3) * 60.2f}});
    s.ShooterName = QString(ShooterNameWidth, QLatin1Char('W'));
    s.Firearm = QString(FirearmWidth, QLatin1Char('M'));
    QString comment;
    for (int w = 0; comment.size() < CommentsWidth; ++w)
        comment +=
            QStringLiteral("word%1 ").arg(w % 10) + (w % 7 == 6 ? QStringLiteral("x ") : QString());
    s.Comments = comment.left(CommentsWidth);
    for (bool window : {true, false}) {
        RecordingSurface out(ReportFont());
        render(s, out, window);
        QList<QRectF> boxes;
        QStringList commentWords;
        for (const ReportItem &i : out.Items()) {
            if (i.text.trimmed().isEmpty()) continue;
            const QRectF box(i.x, i.y, out.TextWidth(i.text.trimmed()), out.TextHeight(i.text));
            for (const QRectF &other : boxes)
                QVERIFY2(!box.intersects(other),
                         qPrintable(i.text + QStringLiteral(" overlaps another text")));
            boxes << box;
            if (!window) {
                QVERIFY2(box.right() <= out.RightLimit(), qPrintable(i.text));
                if (i.text.startsWith(QStringLiteral("word"))) commentWords << i.text;
            }
        }
        // On paper the whole comment is there, word for word.
        if (!window) QCOMPARE(commentWords.join(QLatin1Char(' ')), s.Comments.simplified());
    }
}

void TestReport::pdfPage()
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QSKIP("pdftotext is not installed");
    QTemporaryDir dir;
    Session s;
    PrepareTestSession(s);
    AddShots(s, {{1, 1}, {0.5f, -0.5f}, {-0.25f, 1.5f}});
    const QString path = dir.filePath(QStringLiteral("page.pdf"));
    auto job = PageJob::Pdf(path, QStringLiteral("Peltrix Statistics"));
    QVERIFY(job);
    QVERIFY(PrintReportPage(s, *job));
    QCOMPARE(s.ReportLeft[14], 50);

    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), path, QStringLiteral("-")});
    QVERIFY(p.waitForFinished(20000));
    const QString xml = QString::fromUtf8(p.readAllStandardOutput());
    // Letter is 612 pt wide: twips / 20 = points.
    static const QRegularExpression word(
        QStringLiteral("<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\"[^>]*>([^<]*)</word>"));
    QMultiHash<QString, QPointF> at;
    for (auto it = word.globalMatch(xml); it.hasNext();) {
        auto m = it.next();
        at.insert(m.captured(3), {m.captured(1).toDouble(), m.captured(2).toDouble()});
    }
    // Twips / 20 = points. The top of the glyphs lies a little below the line's top.
    auto drawnAt = [&](const QString &w, double xTwips, double yTwips) {
        for (const QPointF &p : at.values(w))
            if (std::abs(p.x() - xTwips / 20) < 1.5 && p.y() >= yTwips / 20 - 1 &&
                p.y() < yTwips / 20 + 6)
                return true;
        return false;
    };
    // Five lines of 8-point text down (about 186 twips each on paper).
    QVERIFY2(drawnAt(QStringLiteral("Shooter"), 2500, 5 * 186), qPrintable(xml.left(600)));
    QVERIFY(drawnAt(QStringLiteral("Number"), 2550, 13000));
    QVERIFY(drawnAt(QStringLiteral("Distance"), 3950 + 2500, 400 + 7500));
    QVERIFY(at.contains(QStringLiteral("03")));
    QVERIFY(at.contains(QStringLiteral("1.521")));
    // Searchable text: no ligature glyph stands for "fl" or "fi".
    QVERIFY(at.contains(QStringLiteral("Rifle:")));
}

void TestReport::statisticsWindowRepaints()
{
    TestApp t;
    AddShots(t.session, {{1, 1}, {2, 2}});
    frmTextOutput *w = t.app->TextOutput();
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    const QImage before = w->grab().toImage();
    // A change rendered while shown is drawn; covering and showing again keeps it.
    AddShots(t.session, {{-3, 4}});
    t.app->RenderStats();
    QCoreApplication::processEvents();
    const QImage after = w->grab().toImage();
    QVERIFY(before != after);
    w->hide();
    w->show();
    QCoreApplication::processEvents();
    QCOMPARE(w->grab().toImage(), after);
    QCOMPARE(w->windowTitle(), QStringLiteral("Peltrix"));
    // It must be large enough for the lowest row (7000 twips plus a line).
    QVERIFY(w->height() * 15 >= 7000 + 2 * 195);
}

QTEST_MAIN(TestReport)
#include "test_report.moc"
