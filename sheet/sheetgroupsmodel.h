#pragma once
// The groups of a sheet document as a table: one row per group, then the
// pooled row; the label is edited in place as a step of the document.
#include "sheet/sheetdocument.h"

#include <QAbstractTableModel>

class SheetGroupsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit SheetGroupsModel(SheetDocument &doc, QObject *parent = nullptr);
    // The figures in SheetFigureUnits()[show].
    void SetShow(int show);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;

private:
    void Fill();
    SheetDocument &doc;
    int show = 0;
    QStringList header;
    std::vector<QStringList> rows;
};
