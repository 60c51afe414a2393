#pragma once
// Find in the graphical entry window: the search runs off the interface
// thread behind a progress dialog with Cancel; the proposals are drawn over
// the picture, accepted or rejected by a click, entered with Enter Shots (or
// Enter), dropped with Esc; Ctrl+Z takes back the shots of the last Find.
#include "detect/searchjob.h"
#include "graph/holefinder.h"

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <memory>
#include <vector>

class IPeltrixApp;
class PictureBox;
class QMainWindow;
class QProgressDialog;
class QShortcut;

// Paints the proposals over the picture; clicks go through to the picture,
// where FindTool takes those that land on a proposal.
class FindOverlay : public QWidget {
    Q_OBJECT
public:
    FindOverlay(const HoleFinder &finder, PictureBox *picture);

protected:
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    const HoleFinder &finder;
    PictureBox *picture;
};

class FindTool : public QObject {
    Q_OBJECT
public:
    FindTool(IPeltrixApp &app, QMainWindow *window, PictureBox *picture, GraphPicture &target);
    // A search still running is stopped and waited for.
    ~FindTool() override;

    HoleFinder Finder;
    FindOverlay *Overlay;

    bool Ready() const;
    bool Showing() const { return Finder.Showing(); }
    bool Searching() const { return search != nullptr; }
    // The keys Enter, Esc and Ctrl+Z, in one more window (the toolbox).
    void AddKeysTo(QWidget *window);

    // Starts a search of the part of the picture shown, or of all of it; the
    // proposals come when it ends (Changed is emitted then).
    void Find(bool wholePicture);
    // Stops the search: everything stays as it was before Find.
    void CancelSearch();
    void EnterShots();
    void Drop();
    void Undo();
    // The picture was loaded again: proposals and the undo step go.
    void Forget();

signals:
    void Changed();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Result {
        std::optional<HoleReport> report;
        QString error;
    };
    void SearchEnded();
    void Show(const QString &status);
    // Enter and Esc act only on proposals, Ctrl+Z only on a Find to take back.
    void EnableKeys();
    std::vector<QShortcut *> proposalKeys, undoKeys;
    IPeltrixApp &app;
    QMainWindow *window;
    PictureBox *picture;
    GraphPicture &target;
    // The search running, what it was asked, and its dialog.
    SearchJob *search = nullptr;
    std::shared_ptr<Result> found;
    FindSearch asked;
    QPointer<QProgressDialog> progress;
};
