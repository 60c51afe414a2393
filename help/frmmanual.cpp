#include "help/frmmanual.h"

#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QTextBrowser>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

frmManual::frmManual(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frmManual"));
    setWindowTitle(QStringLiteral("Peltrix Manual"));
    setAttribute(Qt::WA_DeleteOnClose);
    Browser = new QTextBrowser(this);
    Browser->setObjectName(QStringLiteral("Browser"));
    // Pages of the web (the maker's site) go to the desktop; the manual's own stay here.
    Browser->setOpenExternalLinks(true);
    auto button = [this](const char *name, const QString &caption, QKeySequence keys) {
        auto *b = new QToolButton(this);
        b->setObjectName(QString::fromLatin1(name));
        b->setText(caption);
        b->setShortcut(keys);
        return b;
    };
    cmdBack = button("cmdBack", QStringLiteral("< Back"), QKeySequence::Back);
    cmdForward = button("cmdForward", QStringLiteral("Forward >"), QKeySequence::Forward);
    cmdHome = button("cmdHome", QStringLiteral("Contents"), QKeySequence());
    cmdBack->setEnabled(false);
    cmdForward->setEnabled(false);
    connect(cmdBack, &QToolButton::clicked, Browser, &QTextBrowser::backward);
    connect(cmdForward, &QToolButton::clicked, Browser, &QTextBrowser::forward);
    connect(cmdHome, &QToolButton::clicked, Browser, &QTextBrowser::home);
    connect(Browser, &QTextBrowser::backwardAvailable, cmdBack, &QToolButton::setEnabled);
    connect(Browser, &QTextBrowser::forwardAvailable, cmdForward, &QToolButton::setEnabled);
    auto *bar = new QHBoxLayout;
    bar->addWidget(cmdBack);
    bar->addWidget(cmdForward);
    bar->addWidget(cmdHome);
    bar->addStretch(1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(Browser, 1);
    resize(820, 760);
}

bool frmManual::ShowPage(const QString &path)
{
    QFile page(path);
    if (!QFileInfo(path).isFile() || !page.open(QIODevice::ReadOnly)) return false;
    Browser->setSource(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
    return !Browser->toHtml().isEmpty();
}
