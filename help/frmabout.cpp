#include "help/frmabout.h"

#include "help/sysinfo.h"
#include "model/session.h"
#include "ui/appinterface.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

QIcon ProgramIcon() { return QIcon(QStringLiteral(":/help/peltrix.png")); }

frmAbout::frmAbout(IPeltrixApp &a) : QDialog(nullptr), app(a)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About Peltrix"));
    setAttribute(Qt::WA_DeleteOnClose);
    auto label = [this](const char *name, const QString &text) {
        auto *l = new QLabel(text, this);
        l->setObjectName(QString::fromLatin1(name));
        return l;
    };
    picIcon = label("picIcon", QString());
    picIcon->setPixmap(ProgramIcon().pixmap(64, 64));
    lblTitle = label("lblTitle", QStringLiteral("Peltrix"));
    QFont titleFont(QStringLiteral("DejaVu Sans"));
    titleFont.setPointSize(16);
    titleFont.setBold(true);
    lblTitle->setFont(titleFont);
    lblVersion = label("lblVersion", QStringLiteral("Version ") + ProgramVersion());
    lblDescription =
        label("lblDescription",
              QStringLiteral("Calculates shot group statistics via mouse or keyboard data "
                             "entry.  Peltrix also provides tools for statistical testing."));
    lblDescription->setWordWrap(true);
    lblDisclaimer = label("lblDisclaimer", AboutProjectLine());
    lblDisclaimer->setWordWrap(true);
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    cmdSysInfo = new QPushButton(QStringLiteral("&System Info..."), this);
    cmdSysInfo->setObjectName(QStringLiteral("cmdSysInfo"));

    auto *grid = new QGridLayout(this);
    grid->addWidget(picIcon, 0, 0, 3, 1, Qt::AlignTop);
    grid->addWidget(lblTitle, 0, 1);
    grid->addWidget(lblVersion, 1, 1);
    grid->addWidget(lblDescription, 2, 1);
    grid->addWidget(lblDisclaimer, 3, 1);
    auto *buttons = new QVBoxLayout;
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdSysInfo);
    buttons->addStretch();
    grid->addLayout(buttons, 0, 2, 4, 1);
    grid->setColumnStretch(1, 1);
    setMinimumWidth(520);

    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
    connect(cmdSysInfo, &QPushButton::clicked, this, &frmAbout::cmdSysInfo_Click);
}

void frmAbout::cmdOK_Click() { accept(); }

void frmAbout::cmdSysInfo_Click()
{
    app.prompter.SetOwner(this);
    StartSysInfo(app.HelpDesktop(), app.prompter);
}
