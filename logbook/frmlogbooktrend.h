#pragma once
// "Logbook Trend": σ with its interval, mean radius and centre offset of the
// shown groups against their dates, a chart that saves as PNG or PDF.
#include "logbook/logbookstats.h"

#include <QWidget>

class Prompter;
class QChartView;
class QPushButton;

class frmLogbookTrend : public QWidget {
    Q_OBJECT
public:
    explicit frmLogbookTrend(Prompter &prompter);

    QChartView *chtTrend;
    QPushButton *cmdSavePng, *cmdSavePdf;

    void SetTrend(const Trend &t);
    // Written whole or not at all; false with the reason.
    bool SavePng(const QString &path, QString *errorText = nullptr);
    bool SavePdf(const QString &path, QString *errorText = nullptr);

private slots:
    void cmdSavePng_Click();
    void cmdSavePdf_Click();

private:
    Prompter &prompter;
};
