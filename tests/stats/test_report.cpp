// The report's positions and texts, on a recording surface and a real PDF page.
#include "model/textnum.h"
#include "platform/pagejob.h"
#include "stats/groupstats.h"
#include "stats/report.h"
#include "testsupport.h"

#include <QStandardPaths>
#include <QtTest>

namespace {
// Fixed metrics: every line 195 twips high, every character 90 wide.
constexpr double H = 195;

void render(Session &s, RecordingSurface &out, bool window)
{
    PrintGroupStats(s, out, window ? ReportOn::Window : ReportOn::Page);
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
    void fullGroupFitsAboveTheSummary();
    void noTextOverText_data();
    void noTextOverText();
    void pdfPage();
};

void TestReport::shotRowsAndFigures()
{
    Session s;
    PrepareTestSession(s);
    AddShots(s, {{1, 1}, {0.5f, -0.5f}, {-0.25f, 1.5f}});
    RecordingSurface out;
    render(s, out, true);

    // Shot 3's row: number at 500, then each text 1000/850/1300 past the previous;
    // the group center without a leading blank, the R row's SD neither.
    const double rowY = 400 + 3 * H;
    const QString size =
        FormatPicture(s.GroupSize, QStringLiteral("#0.000")) + QStringLiteral(" Inches");
    const QString meanR = QLatin1Char(' ') + FormatPicture(s.MeanR, QStringLiteral("###0.000"));
    const struct {
        QString text;
        double x, y;
    } expected[] = {
        {QStringLiteral("03"), 500, rowY},
        {QStringLiteral("-0.250"), 500 + 2 * 90 + 1000, rowY},
        {QStringLiteral(" 1.500"), 500 + 2 * 90 + 1000 + 6 * 90 + 850, rowY},
        {QStringLiteral("1.521"), 500 + 2 * 90 + 1000 + 2 * (6 * 90) + 850 + 1300, rowY},
        {QStringLiteral("01"), 500, 400 + H},
        {QStringLiteral("3"), 1450, 5500},
        {QStringLiteral("0.417"), 1950 + 1250, -1},
        {size, 2100, 5750},
        {meanR, 450, 7000 + H},
        {FormatPicture(s.SdR, QStringLiteral("###0.000")), 450 + double(meanR.size()) * 90 + 1350,
         -1},
        {QStringLiteral("Distance From Aim Point"), 3950, -1},
    };
    for (const auto &e : expected) {
        const QPointF at = pos(out, e.text);
        QVERIFY2(at.x() == e.x && (e.y < 0 || at.y() == e.y), qPrintable(e.text));
    }
    QVERIFY(!texts(out).join(QLatin1Char('|')).contains(QStringLiteral("MOA")));

    // The angle only once a range is entered.
    s.RangeEntered = true;
    s.RangeToTarget = 100;
    RecordingSurface real(ReportFont()); // its usual place: the size text ends well before it
    render(s, real, true);
    const QString moa =
        FormatPictureD(*GroupSizeMOA(s), QStringLiteral("##0.00")) + QStringLiteral(" MOA");
    QCOMPARE(pos(real, moa), QPointF(3300, 5750));
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
    for (const char *unit : {"Inches", "Thirty characters of unit nam"})
        QTest::newRow(unit) << QString::fromLatin1(unit);
}

void TestReport::noTextOverText()
{
    // Large figures, a range, every header field full and a comment of the
    // whole 354 characters: on the window and on the page, no text touches
    // another and the page's texts stay on the page.
    QFETCH(QString, unit);
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

    QMultiHash<QString, QPointF> at;
    for (const auto &[w, p] : PdfWords(path)) at.insert(w, p);
    // Twips / 20 = points. The top of the glyphs lies a little below the line's top.
    auto drawnAt = [&](const QString &w, double xTwips, double yTwips) {
        for (const QPointF &p : at.values(w))
            if (std::abs(p.x() - xTwips / 20) < 1.5 && p.y() >= yTwips / 20 - 1 &&
                p.y() < yTwips / 20 + 6)
                return true;
        return false;
    };
    // Five lines of 8-point text down (about 186 twips each on paper).
    QVERIFY(drawnAt(QStringLiteral("Shooter"), 2500, 5 * 186));
    QVERIFY(drawnAt(QStringLiteral("Number"), 2550, 13000));
    QVERIFY(drawnAt(QStringLiteral("Distance"), 3950 + 2500, 400 + 7500));
    QVERIFY(at.contains(QStringLiteral("03")));
    QVERIFY(at.contains(QStringLiteral("1.521")));
    // Searchable text: no ligature glyph stands for "fl" or "fi".
    QVERIFY(at.contains(QStringLiteral("Rifle:")));
}

QTEST_MAIN(TestReport)
#include "test_report.moc"
