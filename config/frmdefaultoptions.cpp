#include "config/frmdefaultoptions.h"

#include "config/configfile.h"
#include "model/settings.h"
#include "platform/screen.h"
#include "ui/appinterface.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

frmDefaultOptions::frmDefaultOptions(IPeltrixApp &a, QWidget *parent) : QDialog(parent), app(a)
{
    setObjectName(QStringLiteral("frmDefaultOptions"));
    setWindowTitle(QStringLiteral("Peltrix Defaults"));
    auto label = [this](const char *name, const QString &caption, QRect geometry) {
        auto *l = new QLabel(caption, this);
        l->setObjectName(QString::fromLatin1(name));
        l->setGeometry(geometry);
        return l;
    };
    auto box = [this](const char *name, const QString &caption, int left, int top) {
        auto *c = new QCheckBox(caption, this);
        c->setObjectName(QString::fromLatin1(name));
        c->setGeometry(TwipsRect(left, top, 3000, 300));
        return c;
    };
    auto button = [this](const char *name, const QString &caption, const QString &tip, int left) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setToolTip(tip);
        b->setAutoDefault(false);
        b->setGeometry(TwipsRect(left, 4560, 1455, 375));
        return b;
    };
    lblExplain =
        label("lblExplain",
              QStringLiteral("Select which current settings you want saved as a default for "
                             "future use.  This controls what settings are saved, not the "
                             "value of those settings."),
              TwipsRect(240, 120, 6600, 600));
    lblExplain->setWordWrap(true);
    lblHeaderGroup = label("lblHeaderGroup", QStringLiteral("General Header Information:"),
                           TwipsRect(240, 840, 3000, 255));
    chkRange = box("chkRange", QStringLiteral("Range To Target"), 360, 1140);
    chkCaliber = box("chkCaliber", QStringLiteral("Caliber"), 360, 1470);
    chkShooter = box("chkShooter", QStringLiteral("Shooter Name"), 360, 1800);
    chkUnits = box("chkUnits", QStringLiteral("Units"), 360, 2130);
    chkFirearm = box("chkFirearm", QStringLiteral("Firearm Description"), 360, 2460);
    lblGraphGroup = label("lblGraphGroup", QStringLiteral("Graphical Entry Page Options:"),
                          TwipsRect(3720, 840, 3000, 255));
    chkCalDist = box("chkCalDist", QStringLiteral("Calibration Distance"), 3840, 1140);
    chkCentroid = box("chkCentroid", QStringLiteral("Group Centroid"), 3840, 1470);
    chkBGColor = box("chkBGColor", QStringLiteral("Background Color"), 3840, 1800);
    chkAPAxes = box("chkAPAxes", QStringLiteral("Aim Point Axes"), 3840, 2130);
    chkFullCursor = box("chkFullCursor", QStringLiteral("Full Screen Cursor"), 3840, 2460);
    lblPathGroup = label("lblPathGroup", QStringLiteral("File Path Options:"),
                         TwipsRect(240, 3000, 3000, 255));
    chkImPath = box("chkImPath", QStringLiteral("Path to Target Image Files"), 360, 3300);
    chkFilePath = box("chkFilePath", QStringLiteral("Path to Peltrix .pxs Files"), 360, 3630);
    cmdDefReset =
        button("cmdDefReset", QStringLiteral("Reset All"),
               QStringLiteral("Reset All Values to Those When Peltrix Was Installed"), 240);
    cmdDefCancel = button("cmdDefCancel", QStringLiteral("Cancel"), QString(), 1920);
    cmdSaveDefExit =
        button("cmdSaveDefExit", QStringLiteral("Save on Exit"),
               QStringLiteral("When Peltrix Is Closed, Save Current Values as Defaults"), 3600);
    cmdSaveDefNow = button("cmdSaveDefNow", QStringLiteral("Save Now"),
                           QStringLiteral("Immediately Save Current Values as Defaults"), 5280);
    connect(cmdSaveDefNow, &QPushButton::clicked, this, &frmDefaultOptions::cmdSaveDefNow_Click);
    connect(cmdSaveDefExit, &QPushButton::clicked, this, &frmDefaultOptions::cmdSaveDefExit_Click);
    connect(cmdDefReset, &QPushButton::clicked, this, &frmDefaultOptions::cmdDefReset_Click);
    connect(cmdDefCancel, &QPushButton::clicked, this, &frmDefaultOptions::cmdDefCancel_Click);
    setFixedSize(TwipsToPixels(7000), TwipsToPixels(5200));
}

void frmDefaultOptions::RecordDefaultSelections()
{
    Session &s = app.session;
    for (const Setting &setting : Settings()) {
        const auto *box = findChild<QCheckBox *>(QString::fromLatin1(setting.checkBox));
        s.*setting.saveDef = box && box->checkState() == Qt::Checked;
    }
}

void frmDefaultOptions::cmdSaveDefNow_Click()
{
    RecordDefaultSelections();
    app.CaptureUserDefaults();
    app.prompter.SetOwner(this);
    SaveConfigFileOrTell(app.session, app.prompter);
}

void frmDefaultOptions::cmdSaveDefExit_Click()
{
    RecordDefaultSelections();
    // The promise of the button: the values current at close are the ones kept.
    app.session.SaveDefaultsOnExit = true;
}

void frmDefaultOptions::cmdDefReset_Click() { ApplyInstallValues(app.session); }

void frmDefaultOptions::cmdDefCancel_Click() { reject(); }
