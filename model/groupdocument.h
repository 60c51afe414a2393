#pragma once
// The current group as a document: the session record and the news that it
// changed. Code that changes the group's shots, statistics or header says so
// through Changed(); the statistics window, the analysis window and the
// entry forms listen instead of being called by the code that made the change.
#include "model/session.h"

#include <QObject>

class GroupDocument : public QObject {
    Q_OBJECT
public:
    explicit GroupDocument(Session &session, QObject *parent = nullptr)
        : QObject(parent), session(session)
    {}

    Session &session;

    // The shots, statistics or header may have changed: every view draws again.
    void Changed() { emit groupChanged(); }

signals:
    void groupChanged();
};
