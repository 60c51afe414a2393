#pragma once
// The manual in a window of the program's own, for a desktop with no program
// that opens HTML files: the same pages, with their links, pictures, back
// and forward.
#include <QWidget>

class QTextBrowser;
class QToolButton;

class frmManual : public QWidget {
    Q_OBJECT
public:
    explicit frmManual(QWidget *parent = nullptr);

    QTextBrowser *Browser;
    QToolButton *cmdBack, *cmdForward, *cmdHome;

    // Shows the page; false, and nothing shown, when it cannot be read.
    bool ShowPage(const QString &path);
};
