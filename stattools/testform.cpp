#include "stattools/testform.h"

#include "platform/printer.h"
#include "platform/screen.h"
#include "stats/report.h"
#include "stattools/stattests.h"

#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace TestForm {
namespace {
template <typename W> W *named(W *w, const char *name, QRect twips)
{
    w->setObjectName(QString::fromLatin1(name));
    w->setGeometry(TwipsRect(twips.x(), twips.y(), twips.width(), twips.height()));
    return w;
}
} // namespace

QGroupBox *Frame(QWidget *parent, const char *name, const QString &caption, QRect twips)
{
    return named(new QGroupBox(caption, parent), name, twips);
}

QLabel *Label(QWidget *parent, const char *name, const QString &caption, QRect twips)
{
    return named(new QLabel(caption, parent), name, twips);
}

QLineEdit *Field(QWidget *parent, const char *name, QRect twips, int maxLength)
{
    auto *t = named(new QLineEdit(parent), name, twips);
    if (maxLength > 0) t->setMaxLength(maxLength);
    return t;
}

QPushButton *Button(QWidget *parent, const char *name, const QString &caption, QRect twips)
{
    auto *b = named(new QPushButton(caption, parent), name, twips);
    b->setAutoDefault(false);
    return b;
}

void SetCaption(QLabel *label, const QString &caption)
{
    QString shown = caption;
    shown.replace(QChar(13), QLatin1Char('\n'));
    label->setText(shown);
}

void PrintPage(Prompter &prompter, QWidget *owner, const QString &title,
               const QString &suggestedPdf, const std::function<void(ReportSurface &)> &draw)
{
    prompter.SetOwner(owner);
    auto job = BeginPrint(prompter, title, suggestedPdf);
    if (!job) return;
    {
        PainterSurface surface(job->Painter(), ReportFont(), job->Dpi());
        draw(surface);
    }
    if (!job->End())
        prompter.MsgBox(job->ErrorText(), QStringLiteral("Print"), Buttons::Ok, Icon::Exclamation);
}

void RunCompute(QLabel *result, QPushButton *print, QString &caption,
                const std::function<TestOutcome()> &compute)
{
    caption.clear();
    SetCaption(result, caption);
    result->hide();
    const TestOutcome r = compute();
    if (!r.computed) return;
    if (!r.caption.isEmpty()) {
        caption = r.caption;
        SetCaption(result, caption);
        result->show();
    }
    print->show();
}

QString SuggestedPdf(const QString &documentsDir, const QString &fileName)
{
    return QDir(documentsDir.isEmpty() ? QDir::homePath() : documentsDir).filePath(fileName);
}
} // namespace TestForm
