#include "logbook/frmlogbookcompare.h"

#include "logbook/frmlogbook.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include <set>

namespace {
const double Levels[] = {0.80, 0.90, 0.95, 0.99};
// The list item that stands for a kept selection rather than a load.
const int SelectionItem = 0;
} // namespace

frmLogbookCompare::frmLogbookCompare(frmLogbook &l) : QWidget(nullptr, Qt::Window), logbook(l)
{
    setObjectName(QStringLiteral("frmLogbookCompare"));
    setWindowTitle(QStringLiteral("Compare Loads"));
    auto combo = [this](const char *name) {
        auto *c = new QComboBox(this);
        c->setObjectName(QString::fromLatin1(name));
        c->setMinimumWidth(240);
        return c;
    };
    cboA = combo("cboA");
    cboB = combo("cboB");
    cboLevel = combo("cboLevel");
    for (double v : Levels) cboLevel->addItem(LevelText(v), v);
    cboLevel->setCurrentIndex(2);
    auto button = [this](const char *name, const QString &caption,
                         void (frmLogbookCompare::*slot)()) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        connect(b, &QPushButton::clicked, this, slot);
        return b;
    };
    cmdSelectionA = button("cmdSelectionA", QStringLiteral("Use Selected Groups"),
                           &frmLogbookCompare::cmdSelectionA_Click);
    cmdSelectionB = button("cmdSelectionB", QStringLiteral("Use Selected Groups"),
                           &frmLogbookCompare::cmdSelectionB_Click);
    cmdCompute =
        button("cmdCompute", QStringLiteral("&Compare"), &frmLogbookCompare::cmdCompute_Click);
    txtResult = new QPlainTextEdit(this);
    txtResult->setObjectName(QStringLiteral("txtResult"));
    txtResult->setReadOnly(true);
    txtResult->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    txtResult->setMinimumSize(640, 260);
    auto *g = new QGridLayout(this);
    g->addWidget(new QLabel(QStringLiteral("A"), this), 0, 0);
    g->addWidget(cboA, 0, 1);
    g->addWidget(cmdSelectionA, 0, 2);
    g->addWidget(new QLabel(QStringLiteral("B"), this), 1, 0);
    g->addWidget(cboB, 1, 1);
    g->addWidget(cmdSelectionB, 1, 2);
    g->addWidget(new QLabel(QStringLiteral("Level"), this), 2, 0);
    g->addWidget(cboLevel, 2, 1);
    g->addWidget(cmdCompute, 2, 2);
    g->addWidget(txtResult, 3, 0, 1, 3);
}

void frmLogbookCompare::Refresh()
{
    std::set<QString> loads;
    for (const LogbookEntry &e : logbook.Entries())
        if (!e.Load.Text.trimmed().isEmpty()) loads.insert(e.Load.Text.trimmed());
    for (QComboBox *box : {cboA, cboB}) {
        const QString was = box->currentText();
        const std::vector<qint64> &kept = box == cboA ? keptA : keptB;
        box->clear();
        box->addItem(QStringLiteral("Selected groups (%1)").arg(kept.size()));
        for (const QString &l : loads) box->addItem(l);
        const int at = box->findText(was);
        box->setCurrentIndex(at > 0 ? at : std::min(box == cboA ? 1 : 2, box->count() - 1));
    }
}

void frmLogbookCompare::cmdSelectionA_Click()
{
    keptA.clear();
    for (const LogbookEntry *e : logbook.Selected()) keptA.push_back(e->Id);
    Refresh();
    cboA->setCurrentIndex(SelectionItem);
}

void frmLogbookCompare::cmdSelectionB_Click()
{
    keptB.clear();
    for (const LogbookEntry *e : logbook.Selected()) keptB.push_back(e->Id);
    Refresh();
    cboB->setCurrentIndex(SelectionItem);
}

std::vector<const LogbookEntry *> frmLogbookCompare::side(const QComboBox *box,
                                                          const std::vector<qint64> &kept) const
{
    std::vector<const LogbookEntry *> r;
    for (const LogbookEntry &e : logbook.Entries()) {
        const bool in = box->currentIndex() == SelectionItem
                            ? std::find(kept.begin(), kept.end(), e.Id) != kept.end()
                            : e.Load.Text.trimmed() == box->currentText();
        if (in) r.push_back(&e);
    }
    return r;
}

void frmLogbookCompare::cmdCompute_Click()
{
    const auto a = side(cboA, keptA), b = side(cboB, keptB);
    const double level = cboLevel->currentData().toDouble();
    const QString labelA =
        cboA->currentIndex() == SelectionItem ? QStringLiteral("Selection A") : cboA->currentText();
    const QString labelB =
        cboB->currentIndex() == SelectionItem ? QStringLiteral("Selection B") : cboB->currentText();
    QString why;
    auto c = CompareEntries(a, b, labelA, labelB, level, &why);
    if (!c) {
        txtResult->setPlainText(why);
        return;
    }
    // Velocities of each side: those of its groups and those kept for its load.
    for (auto [entries, s, box] : {std::tuple{&a, &c->A, cboA}, std::tuple{&b, &c->B, cboB}}) {
        std::vector<double> speeds;
        if (box->currentIndex() != SelectionItem)
            speeds = SpeedsOf(logbook.Velocities(), 0, box->currentText(), VelocityUnit::Fps);
        for (const LogbookEntry *e : *entries) {
            const auto g = SpeedsOf(logbook.Velocities(), e->Id, QString(), VelocityUnit::Fps);
            speeds.insert(speeds.end(), g.begin(), g.end());
        }
        s->Velocity = ComputeVelocity(speeds, VelocityUnit::Fps, level);
    }
    txtResult->setPlainText(ComparisonText(*c));
}
