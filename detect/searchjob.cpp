#include "detect/searchjob.h"

#include <QThread>

SearchJob::SearchJob(Work work, QObject *parent) : QObject(parent)
{
    auto s = state;
    thread = QThread::create([s, work = std::move(work)] {
        SearchControl control;
        control.progress = [s](int percent) { s->percent = percent; };
        control.cancelled = [s] { return s->cancelled.load(); };
        work(control);
    });
    // Progress goes to the window at a pace it can paint, never from the
    // searching thread itself.
    connect(&poll, &QTimer::timeout, this, [this] {
        if (const int p = state->percent; p != shown) emit Progress(shown = p);
    });
    connect(thread, &QThread::finished, this, [this] {
        poll.stop();
        emit Finished(state->cancelled);
    });
    poll.start(50);
    thread->start();
}

SearchJob::~SearchJob()
{
    state->cancelled = true;
    thread->wait();
    delete thread;
}

void SearchJob::Cancel() { state->cancelled = true; }

void SearchJob::Abandon()
{
    disconnect(this, &SearchJob::Progress, nullptr, nullptr);
    disconnect(this, &SearchJob::Finished, nullptr, nullptr);
    Cancel();
    if (thread->isFinished())
        deleteLater();
    else
        connect(thread, &QThread::finished, this, &QObject::deleteLater);
}
