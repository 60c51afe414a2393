#include "logbook/frmlogbook.h"

#include "logbook/frmlogbookcompare.h"
#include "logbook/frmlogbooktrend.h"
#include "logbook/logbook.h"
#include "logbook/logbookactions.h"
#include "ui/appinterface.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QDir>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace {
const QString Title = QStringLiteral("Logbook");

QPushButton *button(QWidget *owner, const char *name, const QString &caption)
{
    auto *b = new QPushButton(caption, owner);
    b->setObjectName(QString::fromLatin1(name));
    return b;
}
} // namespace

frmLogbook::frmLogbook(IPeltrixApp &a, QWidget *parent) : QWidget(parent, Qt::Window), app(a)
{
    setObjectName(QStringLiteral("frmLogbook"));
    setWindowTitle(Title);
    auto edit = [this](const char *name, const QString &hint) {
        auto *e = new QLineEdit(this);
        e->setObjectName(QString::fromLatin1(name));
        e->setPlaceholderText(hint);
        e->setClearButtonEnabled(true);
        connect(e, &QLineEdit::textChanged, this, &frmLogbook::ApplyFilter);
        return e;
    };
    txtFirearm = edit("txtFirearm", QStringLiteral("Firearm"));
    txtLoad = edit("txtLoad", QStringLiteral("Load"));
    txtText = edit("txtText", QStringLiteral("Any text"));
    auto date = [this](const char *check, const char *name, const QString &caption, QDate d,
                       QCheckBox *&box, QDateEdit *&field) {
        box = new QCheckBox(caption, this);
        box->setObjectName(QString::fromLatin1(check));
        field = new QDateEdit(d, this);
        field->setObjectName(QString::fromLatin1(name));
        field->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
        field->setCalendarPopup(true);
        connect(box, &QCheckBox::toggled, this, &frmLogbook::ApplyFilter);
        connect(field, &QDateEdit::dateChanged, this, &frmLogbook::ApplyFilter);
    };
    const QDate today = QDate::currentDate();
    date("chkFrom", "dtpFrom", QStringLiteral("From"), today.addYears(-1), chkFrom, dtpFrom);
    date("chkTo", "dtpTo", QStringLiteral("To"), today, chkTo, dtpTo);

    grdGroups = new QTableView(this);
    grdGroups->setObjectName(QStringLiteral("grdGroups"));
    grdGroups->setModel(&model);
    grdGroups->setSelectionBehavior(QAbstractItemView::SelectRows);
    grdGroups->setSelectionMode(QAbstractItemView::ExtendedSelection);
    grdGroups->verticalHeader()->hide();
    grdGroups->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    grdGroups->horizontalHeader()->setStretchLastSection(true);
    grdGroups->setMinimumSize(820, 320);
    connect(grdGroups->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &frmLogbook::grdGroups_SelectionChanged);
    connect(grdGroups, &QTableView::doubleClicked, this, &frmLogbook::cmdOpen_Click);

    lblPooled = new QLabel(this);
    lblPooled->setObjectName(QStringLiteral("lblPooled"));
    lblPooled->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblStatus = new QLabel(this);
    lblStatus->setObjectName(QStringLiteral("lblStatus"));
    chkAddOnSave = new QCheckBox(QStringLiteral("Add to Logbook on every Save"), this);
    chkAddOnSave->setObjectName(QStringLiteral("chkAddOnSave"));
    chkAddOnSave->setChecked(app.LogbookConfig().AddOnSave);
    connect(chkAddOnSave, &QCheckBox::toggled, this, &frmLogbook::chkAddOnSave_Toggled);

    using F = frmLogbook;
    const std::pair<QPushButton **, std::pair<const char *, void (F::*)()>> buttons[] = {
        {&cmdOpen, {"cmdOpen", &F::cmdOpen_Click}},
        {&cmdDelete, {"cmdDelete", &F::cmdDelete_Click}},
        {&cmdUndo, {"cmdUndo", &F::cmdUndo_Click}},
        {&cmdVelocities, {"cmdVelocities", &F::cmdVelocities_Click}},
        {&cmdCompare, {"cmdCompare", &F::cmdCompare_Click}},
        {&cmdTrend, {"cmdTrend", &F::cmdTrend_Click}},
        {&cmdDatabase, {"cmdDatabase", &F::cmdDatabase_Click}}};
    const QString captions[] = {QStringLiteral("&Open Group"),     QStringLiteral("&Delete"),
                                QStringLiteral("&Undo Delete"),    QStringLiteral("&Velocities..."),
                                QStringLiteral("&Compare..."),     QStringLiteral("&Trend..."),
                                QStringLiteral("Logbook &File...")};
    auto *side = new QVBoxLayout;
    for (size_t k = 0; k < std::size(buttons); ++k) {
        *buttons[k].first = button(this, buttons[k].second.first, captions[k]);
        connect(*buttons[k].first, &QPushButton::clicked, this, buttons[k].second.second);
        side->addWidget(*buttons[k].first);
    }
    side->addStretch();

    // The load of the selected groups, shown and edited in place.
    auto *loadBox = new QGroupBox(QStringLiteral("Load of the selected groups"), this);
    auto *form = new QFormLayout(loadBox);
    form->setRowWrapPolicy(QFormLayout::WrapAllRows);
    const std::pair<QLineEdit **, std::pair<const char *, const char *>> fields[] = {
        {&txtLoadName, {"txtLoadName", "Name"}},        {&txtPowder, {"txtPowder", "Powder"}},
        {&txtCharge, {"txtCharge", "Charge (gr)"}},     {&txtBullet, {"txtBullet", "Bullet"}},
        {&txtCoal, {"txtCoal", "COAL / seating (in)"}}, {&txtPrimer, {"txtPrimer", "Primer"}}};
    for (const auto &[field, names] : fields) {
        *field = new QLineEdit(loadBox);
        (*field)->setObjectName(QString::fromLatin1(names.first));
        form->addRow(QString::fromLatin1(names.second), *field);
    }
    txtLoadName->setPlaceholderText(QStringLiteral("named by its fields when empty"));
    cmdSetLoad = button(loadBox, "cmdSetLoad", QStringLiteral("Set &Load"));
    connect(cmdSetLoad, &QPushButton::clicked, this, &frmLogbook::cmdSetLoad_Click);
    form->addRow(cmdSetLoad);
    loadBox->setMaximumWidth(280);
    side->addWidget(loadBox);

    auto *filters = new QHBoxLayout;
    for (QWidget *w : std::initializer_list<QWidget *>{txtFirearm, txtLoad, txtText, chkFrom,
                                                       dtpFrom, chkTo, dtpTo})
        filters->addWidget(w);
    auto *grid = new QGridLayout(this);
    grid->addLayout(filters, 0, 0);
    grid->addWidget(grdGroups, 1, 0);
    grid->addLayout(side, 1, 1);
    grid->setColumnStretch(0, 1); // room goes to the table
    grid->addWidget(lblPooled, 2, 0, 1, 2);
    grid->addWidget(chkAddOnSave, 3, 0);
    grid->addWidget(lblStatus, 4, 0, 1, 2);
    updateButtons();
}

frmLogbook::~frmLogbook()
{
    delete compare.data();
    delete trend.data();
}

bool frmLogbook::tell(const QString &text)
{
    app.prompter.SetOwner(this);
    app.prompter.MsgBox(text, Title, Buttons::Ok, Icon::Exclamation);
    return false;
}

bool frmLogbook::Reload()
{
    if (!book.IsOpen() || book.Path() != app.LogbookPath()) {
        model.SetRows({});
        rows.clear();
        entries.clear();
        velocities.clear();
        if (!app.OpenLogbook(book, this)) {
            lblStatus->setText(book.ErrorString());
            updateButtons();
            return false;
        }
    }
    auto g = book.Groups();
    auto v = book.Velocities();
    if (!g || !v) return tell(book.ErrorString());
    model.SetRows({});
    entries = std::move(*g);
    velocities = std::move(*v);
    rows = AnalyzeRows(entries, velocities);
    ApplyFilter();
    return true;
}

void frmLogbook::ApplyFilter()
{
    LogbookFilter f;
    f.Firearm = txtFirearm->text();
    f.Load = txtLoad->text();
    f.Text = txtText->text();
    if (chkFrom->isChecked()) f.From = dtpFrom->date();
    if (chkTo->isChecked()) f.To = dtpTo->date();
    std::vector<const LogbookRow *> shown;
    shown.reserve(rows.size());
    for (const LogbookRow &r : rows)
        if (f.Matches(*r.Entry)) shown.push_back(&r);
    model.SetRows(std::move(shown));
    lblStatus->setText(QStringLiteral("%1 of %2 groups in %3%4")
                           .arg(model.rowCount())
                           .arg(rows.size())
                           .arg(QDir::toNativeSeparators(book.Path()),
                                book.IsReadOnly() ? QStringLiteral(" (read-only)") : QString()));
    grdGroups_SelectionChanged();
}

std::vector<const LogbookEntry *> frmLogbook::Shown() const
{
    std::vector<const LogbookEntry *> r;
    for (int k = 0; k < model.rowCount(); ++k) r.push_back(model.Row(k)->Entry);
    return r;
}

std::vector<const LogbookEntry *> frmLogbook::Selected() const
{
    std::vector<const LogbookEntry *> r;
    for (const QModelIndex &i : grdGroups->selectionModel()->selectedRows())
        r.push_back(model.Row(i.row())->Entry);
    return r;
}

void frmLogbook::showLoad()
{
    const auto sel = Selected();
    const LoadInfo l = sel.empty() ? LoadInfo{} : sel.front()->Load;
    const auto number = [](std::optional<double> v) {
        return v ? QString::number(*v, 'g', 6) : QString();
    };
    txtLoadName->setText(l.Text);
    txtPowder->setText(l.Powder);
    txtCharge->setText(number(l.Charge));
    txtBullet->setText(l.Bullet);
    txtCoal->setText(number(l.Coal));
    txtPrimer->setText(l.Primer);
}

void frmLogbook::grdGroups_SelectionChanged()
{
    updateButtons();
    showLoad();
    const QModelIndexList sel = grdGroups->selectionModel()->selectedRows();
    if (sel.size() < 2) {
        lblPooled->setText(QStringLiteral("Select several groups to see them pooled."));
        return;
    }
    // The figures of each group were found when the logbook was read.
    std::vector<GroupAnalysis> groups;
    groups.reserve(size_t(sel.size()));
    for (const QModelIndex &i : sel) groups.push_back(model.Row(i.row())->Analysis);
    QString why;
    const auto p = PoolGroups(groups, &why);
    if (!p) {
        lblPooled->setText(why);
        return;
    }
    QStringList parts;
    for (const AnalysisRow &r : PooledRows(*p)) {
        if (r.Label.startsWith(QStringLiteral("  "))) {
            parts.last() += QStringLiteral(" (%1)").arg(r.Unit);
            continue;
        }
        const bool angle = p->MOA && r.MOA != UndefinedFigure && !r.MOA.isEmpty();
        parts << QStringLiteral("%1: %2").arg(r.Label, r.Unit) +
                     (angle ? QStringLiteral(" = %1 MOA").arg(r.MOA) : QString());
    }
    lblPooled->setText(QStringLiteral("Pooled (%1): ").arg(p->UnitName.trimmed()) +
                       parts.join(QStringLiteral("; ")));
}

void frmLogbook::updateButtons()
{
    const size_t n = grdGroups->selectionModel()->selectedRows().size();
    const bool writable = book.IsOpen() && !book.IsReadOnly();
    cmdOpen->setEnabled(n == 1);
    cmdSetLoad->setEnabled(n >= 1 && writable);
    cmdDelete->setEnabled(n >= 1 && writable);
    cmdUndo->setEnabled(!lastDeleted.empty() && writable);
    cmdVelocities->setEnabled(writable);
    cmdCompare->setEnabled(book.IsOpen());
    cmdTrend->setEnabled(book.IsOpen());
}

void frmLogbook::cmdOpen_Click()
{
    const auto sel = Selected();
    if (sel.size() != 1 || !app.ConfirmDiscard(this)) return;
    Session &s = app.session;
    app.prompter.SetOwner(this);
    const OpenedFrom from = OpenEntry(s, *sel.front(), app.prompter);
    if (from == OpenedFrom::Nothing) return;
    // Showing the group fills the entry window, which is no change to keep.
    const bool saved = s.StatsSaved;
    if (from == OpenedFrom::File && s.GraphicalEntryActive)
        app.ViewGraphicalEntry();
    else
        app.ViewTextEntry();
    s.StatsSaved = saved;
}

void frmLogbook::cmdSetLoad_Click()
{
    const auto sel = Selected();
    if (sel.empty()) return;
    LoadInfo l;
    l.Text = txtLoadName->text();
    l.Powder = txtPowder->text();
    l.Bullet = txtBullet->text();
    l.Primer = txtPrimer->text();
    QString why;
    if (!ReadLoadNumber(txtCharge->text(), QStringLiteral("charge"), l.Charge, &why) ||
        !ReadLoadNumber(txtCoal->text(), QStringLiteral("COAL or seating depth"), l.Coal, &why)) {
        tell(why);
        return;
    }
    std::vector<qint64> ids;
    for (const LogbookEntry *e : sel) ids.push_back(e->Id);
    if (!book.SetLoad(ids, l)) tell(book.ErrorString());
    Reload();
    // The same groups stay selected, their new load in view.
    QItemSelection again;
    for (int k = 0; k < model.rowCount(); ++k)
        if (std::find(ids.begin(), ids.end(), model.Row(k)->Entry->Id) != ids.end())
            again.select(model.index(k, 0), model.index(k, LogbookModel::Count - 1));
    grdGroups->selectionModel()->select(again, QItemSelectionModel::ClearAndSelect);
}

void frmLogbook::cmdDelete_Click()
{
    const auto sel = Selected();
    if (sel.empty()) return;
    app.prompter.SetOwner(this);
    if (app.prompter.MsgBox(
            QStringLiteral("Delete the %1 selected groups from the logbook?").arg(sel.size()),
            QStringLiteral("Delete Groups"), Buttons::YesNo, Icon::Exclamation) != Answer::Yes)
        return;
    std::vector<qint64> ids;
    for (const LogbookEntry *e : sel) ids.push_back(e->Id);
    if (auto removed = book.Delete(ids))
        lastDeleted = std::move(*removed);
    else
        tell(book.ErrorString());
    Reload();
}

void frmLogbook::cmdUndo_Click()
{
    // Kept until they are back: a restore that fails can be tried again.
    if (book.Restore(lastDeleted))
        lastDeleted.clear();
    else
        tell(QStringLiteral("The deleted groups could not be restored; Undo Delete still holds "
                            "them.\r\r%1")
                 .arg(book.ErrorString()));
    Reload();
}

void frmLogbook::cmdVelocities_Click()
{
    const auto sel = Selected();
    app.prompter.SetOwner(this);
    const auto v = ImportVelocities(book, app.prompter, sel.size() == 1 ? sel.front()->Id : 0,
                                    sel.empty() ? txtLoad->text() : sel.front()->Load.Text,
                                    app.session.StatsDir);
    if (!v) return;
    Reload();
    const auto f = ComputeVelocity(v->Speeds, v->Unit, 0.95);
    lblStatus->setText(QStringLiteral("%1 speeds imported: mean %2 %3, SD %4")
                           .arg(f->N)
                           .arg(QString::number(f->Mean, 'f', 1), VelocityUnitName(v->Unit),
                                f->Sd ? QString::number(*f->Sd, 'f', 1) : UndefinedFigure));
}

void frmLogbook::cmdCompare_Click()
{
    if (!compare) compare = new frmLogbookCompare(*this);
    compare->Refresh();
    compare->show();
    compare->raise();
}

void frmLogbook::cmdTrend_Click()
{
    QString why;
    const auto t = ComputeTrend(Shown(), 0.95, &why);
    if (!t) {
        tell(why);
        return;
    }
    if (!trend) trend = new frmLogbookTrend(app.prompter);
    trend->SetTrend(*t);
    trend->show();
    trend->raise();
}

void frmLogbook::cmdDatabase_Click()
{
    app.prompter.SetOwner(this);
    const auto path =
        app.prompter.SaveFileName(QStringLiteral("Logbook File"), app.LogbookPath(),
                                  QStringLiteral("Logbooks (*.sqlite);;All files (*)"));
    if (!path) return;
    app.LogbookConfig().DatabasePath = *path;
    app.SaveLogbookConfig();
    lastDeleted.clear();
    Reload();
}

void frmLogbook::chkAddOnSave_Toggled(bool on)
{
    app.LogbookConfig().AddOnSave = on;
    app.SaveLogbookConfig();
}
