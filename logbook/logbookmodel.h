#pragma once
// The table of the Logbook window: one row a group, its figures computed
// once when the groups are read, so that filtering and sorting stay quick.
#include "logbook/logbookstats.h"

#include <QAbstractTableModel>

struct LogbookRow {
    const LogbookEntry *Entry = nullptr;
    GroupAnalysis Analysis;
    std::optional<VelocityFigures> Velocity;
    bool VelocityOfLoad = false; // the group has none of its own: those of its load
};

// Every group analysed, in the order given; a group without velocities of
// its own shows those kept for its load.
std::vector<LogbookRow> AnalyzeRows(const std::vector<LogbookEntry> &entries,
                                    const std::vector<VelocitySeries> &velocities);

class LogbookModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column {
        Date,
        Firearm,
        Load,
        Shots,
        Spread,
        MeanRadius,
        Sigma,
        SpreadMOA,
        Velocity,
        Count
    };
    using QAbstractTableModel::QAbstractTableModel;
    // The rows shown: pointers into rows the caller keeps.
    void SetRows(std::vector<const LogbookRow *> shown);
    const LogbookRow *Row(int row) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation o, int role) const override;

private:
    std::vector<const LogbookRow *> rows;
};
