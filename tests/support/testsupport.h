#pragma once
// What the suites share: a prepared session, the application object with a
// scripted prompter, and temporary folders.
#include "app/peltrixapp.h"
#include "model/session.h"
#include "platform/scriptedprompter.h"

#include <QPointF>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <memory>

// A session as start-up leaves it (install defaults, layout tables, reset, Γ).
void PrepareTestSession(Session &s);

// The whole program with scripted boxes and its folders in a temporary
// directory. The main window is created but not shown.
struct TestApp {
    TestApp();
    ~TestApp();
    QTemporaryDir dir;
    Session session;
    ScriptedPrompter prompter;
    std::unique_ptr<PeltrixApp> app;
};

// Adds shots straight into the session, as either entry path stores them.
void AddShots(Session &s, std::initializer_list<std::pair<float, float>> shots);

class QWidget;
// Runs `act` on the next modal dialog once it is open (the caller then calls
// whatever opens it with exec()). Polls, so it also works for nested dialogs.
void WhenModal(std::function<void(QWidget *)> act);

// One command of the companion, run in-process, with what it printed.
struct CliRun {
    int code;
    QString out, err;
};
CliRun RunCliCaptured(const QStringList &args);
// The same for a command line of words split at blanks.
CliRun RunCliLine(const QString &line);

// The words of a PDF page with the top-left corner of each, in points, in
// reading order (pdftotext -bbox); empty when pdftotext is missing.
QList<std::pair<QString, QPointF>> PdfWords(const QString &pdf);
