#pragma once
// "Logbook Trend": σ with its interval, mean radius and centre offset of the
// shown groups against their dates, drawn by the same renderer as the
// command line's picture; it saves as PNG or PDF.
#include "logbook/logbookstats.h"

#include <QWidget>

class Prompter;
class QPushButton;

// The trend painted at the widget's size.
class TrendView : public QWidget {
    Q_OBJECT
public:
    explicit TrendView(QWidget *parent = nullptr);
    void SetTrend(const Trend &t);
    const Trend &Shown() const { return trend; }

protected:
    void paintEvent(QPaintEvent *) override;

private:
    Trend trend;
};

class frmLogbookTrend : public QWidget {
    Q_OBJECT
public:
    explicit frmLogbookTrend(Prompter &prompter);

    TrendView *picTrend;
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
