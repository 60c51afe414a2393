#include "help/frmtutorial.h"

#include "help/tutorial.h"
#include "ui/appinterface.h"

#include <QCloseEvent>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

frmTutorial::frmTutorial(IPeltrixApp &a) : QWidget(nullptr, Qt::Window), app(a)
{
    setObjectName(QStringLiteral("frmTutorial"));
    setWindowTitle(QStringLiteral("Tutorial"));
    setAttribute(Qt::WA_DeleteOnClose);
    lblTutorialTitle = new QLabel(this);
    lblTutorialTitle->setObjectName(QStringLiteral("lblTutorialTitle"));
    QFont titleFont(QStringLiteral("DejaVu Sans"));
    titleFont.setPointSize(12);
    titleFont.setBold(true);
    lblTutorialTitle->setFont(titleFont);
    lblTutorialTitle->setWordWrap(true);
    txtTutorialBody = new QPlainTextEdit(this);
    txtTutorialBody->setObjectName(QStringLiteral("txtTutorialBody"));
    txtTutorialBody->setReadOnly(true);
    QFont bodyFont(QStringLiteral("DejaVu Sans"));
    bodyFont.setPointSize(10);
    txtTutorialBody->setFont(bodyFont);
    cmdTutorialPrev = new QPushButton(QStringLiteral("< Previous"), this);
    cmdTutorialPrev->setObjectName(QStringLiteral("cmdTutorialPrev"));
    cmdTutorialNext = new QPushButton(QStringLiteral("Next >"), this);
    cmdTutorialNext->setObjectName(QStringLiteral("cmdTutorialNext"));
    cmdTutorialCanc = new QPushButton(QStringLiteral("Close"), this);
    cmdTutorialCanc->setObjectName(QStringLiteral("cmdTutorialCanc"));

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(cmdTutorialPrev);
    buttons->addWidget(cmdTutorialNext);
    buttons->addStretch();
    buttons->addWidget(cmdTutorialCanc);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lblTutorialTitle);
    layout->addWidget(txtTutorialBody, 1);
    layout->addLayout(buttons);
    resize(520, 420);

    connect(cmdTutorialPrev, &QPushButton::clicked, this, &frmTutorial::cmdTutorialPrev_Click);
    connect(cmdTutorialNext, &QPushButton::clicked, this, &frmTutorial::cmdTutorialNext_Click);
    connect(cmdTutorialCanc, &QPushButton::clicked, this, &frmTutorial::cmdTutorialCanc_Click);
}

void frmTutorial::Form_Load()
{
    Session &s = app.session;
    loaded = true;
    CurrentPage = 1;
    PathStem = TutorialStem(s.InstallDir);
    cmdTutorialPrev->setEnabled(false);
    SavedImageDir = s.ImageDir;
    s.ImageDir = TutorialFolder(s.InstallDir);
    s.TutorialOpen = true;
    ShowTutorialPage(CurrentPage);
}

void frmTutorial::ShowTutorialPage(qint32 n)
{
    setWindowTitle(TutorialCaption(n));
    txtTutorialBody->clear();
    const QString path = TutorialPagePath(PathStem, n);
    QString why;
    const auto page = ReadTutorialPage(path, &why);
    if (page) {
        lblTutorialTitle->setText(page->title);
        QString body;
        for (const QString &line : page->body) body += line + QLatin1Char('\n');
        txtTutorialBody->setPlainText(body);
    } else {
        // An empty page rather than the last one read, and the buttons below
        // still lead on, so one bad file does not end the tutorial.
        lblTutorialTitle->clear();
        app.prompter.SetOwner(this);
        app.prompter.MsgBox(QStringLiteral("The tutorial page ") + QDir::toNativeSeparators(path) +
                                QStringLiteral(" could not be read.\r\r") + why,
                            QStringLiteral("Tutorial"), Buttons::Ok, Icon::Exclamation);
    }
    cmdTutorialNext->setEnabled(n != TutorialPageCount);
    cmdTutorialPrev->setEnabled(n != 1);
}

void frmTutorial::cmdTutorialPrev_Click()
{
    if (CurrentPage <= 1) return;
    ShowTutorialPage(--CurrentPage);
}

void frmTutorial::cmdTutorialNext_Click()
{
    if (CurrentPage >= TutorialPageCount) return;
    ShowTutorialPage(++CurrentPage);
}

void frmTutorial::cmdTutorialCanc_Click() { close(); }

void frmTutorial::closeEvent(QCloseEvent *event)
{
    if (loaded) {
        loaded = false;
        app.session.ImageDir = SavedImageDir;
        app.session.TutorialOpen = false;
    }
    event->accept();
}
