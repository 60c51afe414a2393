#include "logbook/frmlogbooktrend.h"

#include "logbook/trendplot.h"
#include "platform/prompter.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

TrendView::TrendView(QWidget *parent) : QWidget(parent) {}

void TrendView::SetTrend(const Trend &t)
{
    trend = t;
    update();
}

void TrendView::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    DrawTrend(p, QSizeF(size()), trend);
}

frmLogbookTrend::frmLogbookTrend(Prompter &p) : QWidget(nullptr, Qt::Window), prompter(p)
{
    setObjectName(QStringLiteral("frmLogbookTrend"));
    setWindowTitle(QStringLiteral("Logbook Trend"));
    picTrend = new TrendView(this);
    picTrend->setObjectName(QStringLiteral("picTrend"));
    picTrend->setMinimumSize(760, 440);
    cmdSavePng = new QPushButton(QStringLiteral("Save &PNG..."), this);
    cmdSavePng->setObjectName(QStringLiteral("cmdSavePng"));
    cmdSavePdf = new QPushButton(QStringLiteral("Save P&DF..."), this);
    cmdSavePdf->setObjectName(QStringLiteral("cmdSavePdf"));
    connect(cmdSavePng, &QPushButton::clicked, this, &frmLogbookTrend::cmdSavePng_Click);
    connect(cmdSavePdf, &QPushButton::clicked, this, &frmLogbookTrend::cmdSavePdf_Click);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdSavePng);
    buttons->addWidget(cmdSavePdf);
    auto *v = new QVBoxLayout(this);
    v->addWidget(picTrend);
    v->addLayout(buttons);
}

void frmLogbookTrend::SetTrend(const Trend &t) { picTrend->SetTrend(t); }

bool frmLogbookTrend::SavePng(const QString &path, QString *errorText)
{
    // The picture the command line writes for the same groups.
    return SaveTrendPng(path, picTrend->Shown(), errorText);
}

bool frmLogbookTrend::SavePdf(const QString &path, QString *errorText)
{
    return SaveTrendPdf(path, picTrend->Shown(), windowTitle(), errorText);
}

void frmLogbookTrend::cmdSavePng_Click()
{
    prompter.SetOwner(this);
    const auto path =
        prompter.SaveFileName(QStringLiteral("Save Trend"), QStringLiteral("trend.png"),
                              QStringLiteral("PNG pictures (*.png)"));
    QString why;
    if (path && !SavePng(*path, &why))
        prompter.MsgBox(QStringLiteral("The chart could not be saved to %1: %2").arg(*path, why),
                        QStringLiteral("Save Trend"), Buttons::Ok, Icon::Exclamation);
}

void frmLogbookTrend::cmdSavePdf_Click()
{
    prompter.SetOwner(this);
    const auto path =
        prompter.SaveFileName(QStringLiteral("Save Trend"), QStringLiteral("trend.pdf"),
                              QStringLiteral("PDF documents (*.pdf)"));
    QString why;
    if (path && !SavePdf(*path, &why))
        prompter.MsgBox(QStringLiteral("The chart could not be saved to %1: %2").arg(*path, why),
                        QStringLiteral("Save Trend"), Buttons::Ok, Icon::Exclamation);
}
