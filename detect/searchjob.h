#pragma once
// The one way a window runs a search (Find, Find Aims, Find Holes) off the
// interface thread: the work gets a SearchControl for its progress and to
// ask whether to stop; the window gets Progress while it runs and Finished
// once it has ended.
#include "detect/holedetector.h"

#include <QObject>
#include <QTimer>
#include <atomic>
#include <functional>
#include <memory>

class QThread;

class SearchJob : public QObject {
    Q_OBJECT
public:
    using Work = std::function<void(const SearchControl &)>;
    // Starts `work` on a thread of its own at once.
    SearchJob(Work work, QObject *parent);
    // Asks the work to stop and waits for it.
    ~SearchJob() override;

    // Asks the work to stop; Finished still comes, saying it was cancelled.
    void Cancel();
    bool Cancelled() const { return state->cancelled; }
    // Cancels and deletes the job itself once the work has stopped, for a
    // caller that lets go of it at once (nothing it finds is taken).
    void Abandon();

signals:
    void Progress(int percent);
    void Finished(bool cancelled);

private:
    struct State {
        std::atomic<bool> cancelled{false};
        std::atomic<int> percent{0};
    };
    std::shared_ptr<State> state = std::make_shared<State>();
    QThread *thread;
    QTimer poll;
    int shown = -1;
};
