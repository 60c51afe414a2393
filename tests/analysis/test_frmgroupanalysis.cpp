// The "Group Analysis" window driven through the real forms.
#include "analysis/frmgroupanalysis.h"
#include "app/frmmain.h"
#include "entry/frmenterheader.h"
#include "entry/frmkeyboardenter.h"
#include "entry/frmtextenter.h"
#include "stats/report.h"
#include "testsupport.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

namespace {
frmTextEnter *openEntry(TestApp &t, const char *range)
{
    WhenModal([range](QWidget *w) {
        auto *h = qobject_cast<frmEnterHeader *>(w);
        h->txtRangeToTarget->setText(QString::fromLatin1(range));
        h->cmdHeaderOk->click();
    });
    t.app->ViewTextEntry();
    return t.app->TextEnter();
}

void type(frmTextEnter *e, const char *x, const char *y)
{
    e->txtEnterX->setText(QString::fromLatin1(x));
    e->txtEnterY->setText(QString::fromLatin1(y));
    e->cmdEnterTextData->click();
}

// The text of the figure row that starts with `label`, in column `col`.
QString cell(frmGroupAnalysis *w, const QString &label, int col = 1)
{
    for (int r = 0; r < w->grdFigures->rowCount(); ++r)
        if (w->grdFigures->item(r, 0)->text() == label) return w->grdFigures->item(r, col)->text();
    return QStringLiteral("<no row %1>").arg(label);
}
} // namespace

class TestFrmGroupAnalysis : public QObject {
    Q_OBJECT
private slots:
    void followsEveryChange();
};

void TestFrmGroupAnalysis::followsEveryChange()
{
    TestApp t;
    frmTextEnter *e = openEntry(t, "100");
    t.app->ShowGroupAnalysis(t.app->Main());
    frmGroupAnalysis *w = t.app->GroupAnalysisWindow();
    QCOMPARE(cell(w, QStringLiteral("Shots")), QStringLiteral("0"));
    QCOMPARE(cell(w, QStringLiteral("Extreme Spread")), UndefinedFigure);

    type(e, "0", "0");
    QCOMPARE(cell(w, QStringLiteral("Shots")), QStringLiteral("1"));
    QCOMPARE(cell(w, QStringLiteral("Rayleigh \u03c3")), UndefinedFigure);
    type(e, "3", "0");
    type(e, "0", "4");
    QCOMPARE(cell(w, QStringLiteral("Extreme Spread")), QStringLiteral("5.000"));
    QCOMPARE(cell(w, QStringLiteral("  between shots")), QStringLiteral("2 and 3"));
    QCOMPARE(cell(w, QStringLiteral("Box Diagonal"), 2),
             QStringLiteral("4.775")); // MOA at 100 yards
    QCOMPARE(cell(w, QStringLiteral("Rayleigh \u03c3")), QStringLiteral("2.172"));

    // Delete Shot goes around the application's rendering: the window follows anyway.
    t.prompter.QueueInput(QStringLiteral("3"));
    e->cmdRemShot->click();
    QCOMPARE(t.session.ShotCount, 2);
    QCOMPARE(cell(w, QStringLiteral("Extreme Spread")), QStringLiteral("3.000"));
    QCOMPARE(cell(w, QStringLiteral("  between shots")), QStringLiteral("1 and 2"));

    // Graphical entry changes the group in core code and tells the document;
    // the window follows that as well.
    AddShots(t.session, {{0, 4}});
    t.app->Document().Changed();
    QCOMPARE(cell(w, QStringLiteral("Shots")), QStringLiteral("3"));
    QCOMPARE(cell(w, QStringLiteral("Extreme Spread")), QStringLiteral("5.000"));
}

QTEST_MAIN(TestFrmGroupAnalysis)
#include "test_frmgroupanalysis.moc"
