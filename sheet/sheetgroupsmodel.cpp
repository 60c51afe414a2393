#include "sheet/sheetgroupsmodel.h"

#include "sheet/sheetdraw.h"
#include "sheet/sheetpage.h"

#include <QBrush>

SheetGroupsModel::SheetGroupsModel(SheetDocument &d, QObject *parent)
    : QAbstractTableModel(parent), doc(d), header(SheetTableHeader())
{
    rows = SheetTableRows(doc.Sheet(), doc.Figures(), show);
    connect(&doc, &SheetDocument::Changed, this, &SheetGroupsModel::Fill);
}

void SheetGroupsModel::SetShow(int s)
{
    show = s;
    Fill();
}

void SheetGroupsModel::Fill()
{
    std::vector<QStringList> next = SheetTableRows(doc.Sheet(), doc.Figures(), show);
    if (next.size() == rows.size()) {
        rows = std::move(next);
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
        return;
    }
    beginResetModel();
    rows = std::move(next);
    endResetModel();
}

int SheetGroupsModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(rows.size());
}

int SheetGroupsModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(header.size());
}

QVariant SheetGroupsModel::data(const QModelIndex &i, int role) const
{
    if (!i.isValid() || size_t(i.row()) >= rows.size()) return {};
    const bool group = size_t(i.row()) < doc.Sheet().Marks.size();
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return rows[size_t(i.row())].value(i.column());
    if (!group) return {};
    // The group's colour on its number; a count other than asked in red.
    const QString note = i.column() == 2 ? doc.Sheet().CountNote(i.row()) : QString();
    if (role == Qt::ForegroundRole && i.column() == 0) return QBrush(GroupColor(i.row()));
    if (role == Qt::ForegroundRole && !note.isEmpty()) return QBrush(QColor(200, 0, 0));
    if (role == Qt::ToolTipRole && !note.isEmpty()) return note;
    return {};
}

QVariant SheetGroupsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole) return header.value(section);
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags SheetGroupsModel::flags(const QModelIndex &i) const
{
    Qt::ItemFlags f = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
    if (i.column() == 1 && size_t(i.row()) < doc.Sheet().Marks.size()) f |= Qt::ItemIsEditable;
    return f;
}

bool SheetGroupsModel::setData(const QModelIndex &i, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !(flags(i) & Qt::ItemIsEditable)) return false;
    doc.SetLabel(i.row(), value.toString());
    return true;
}
