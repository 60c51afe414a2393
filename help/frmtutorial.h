#pragma once
#include <QWidget>

class IPeltrixApp;
class QLabel;
class QPlainTextEdit;
class QPushButton;

// The graphical entry tutorial: eight text pages from the installation's
// Tutorial folder. While it is open the import dialog starts in that folder.
class frmTutorial : public QWidget {
    Q_OBJECT
public:
    explicit frmTutorial(IPeltrixApp &app);

    QLabel *lblTutorialTitle;
    QPlainTextEdit *txtTutorialBody;
    QPushButton *cmdTutorialPrev, *cmdTutorialNext, *cmdTutorialCanc;

    qint32 CurrentPage = 1;
    QString PathStem;
    QString SavedImageDir;

    // The load event: page 1, the image folder lent to the import dialog.
    void Form_Load();
    void ShowTutorialPage(qint32 n);
    // ImageDir is the tutorial's folder and SavedImageDir the user's own.
    bool LendsImageDir() const { return loaded; }

public slots:
    void cmdTutorialPrev_Click();
    void cmdTutorialNext_Click();
    void cmdTutorialCanc_Click();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    IPeltrixApp &app;
    bool loaded = false;
};
