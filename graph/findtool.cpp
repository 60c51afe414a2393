#include "graph/findtool.h"

#include "graph/picturebox.h"
#include "platform/screen.h"
#include "ui/appinterface.h"

#include <QApplication>
#include <QMainWindow>
#include <QMouseEvent>
#include <QPainter>
#include <QProgressDialog>
#include <QPromise>
#include <QShortcut>
#include <QStatusBar>
#include <cmath>

namespace {
const QColor SureColour(0, 170, 0), DoubtfulColour(230, 120, 0);
}

FindOverlay::FindOverlay(const HoleFinder &f, PictureBox *pic)
    : QWidget(pic), finder(f), picture(pic)
{
    setObjectName(QStringLiteral("FindOverlay"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setGeometry(pic->rect());
    pic->installEventFilter(this);
    hide();
}

bool FindOverlay::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == picture && event->type() == QEvent::Resize) setGeometry(picture->rect());
    return false;
}

void FindOverlay::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const double zoom = picture->Zoom();
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(13);
    font.setBold(true);
    p.setFont(font);
    int n = 0;
    for (const HoleProposal &h : finder.proposals) {
        ++n;
        const QColor colour = h.Sure() ? SureColour : DoubtfulColour;
        const QPointF c(h.x * zoom, h.y * zoom);
        const double r = std::max(5.0, h.diameter / 2 * zoom);
        QPen pen(colour, h.accepted ? 3 : 1.5, h.accepted ? Qt::SolidLine : Qt::DashLine);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(c, r, r);
        if (!h.accepted) {
            const double k = r * 0.5;
            p.drawLine(c + QPointF(-k, -k), c + QPointF(k, k));
            p.drawLine(c + QPointF(-k, k), c + QPointF(k, -k));
        }
        const QPointF at = c + QPointF(r * 0.75 + 2, -r * 0.75 - 2);
        const QString label = QString::number(n);
        p.setPen(QPen(Qt::white, 3));
        p.drawText(at, label); // a light edge keeps the number legible on black
        p.setPen(colour.darker(130));
        p.drawText(at, label);
    }
}

FindTool::FindTool(IPeltrixApp &a, QMainWindow *w, PictureBox *pic, GraphPicture &t)
    : QObject(w), Overlay(new FindOverlay(Finder, pic)), app(a), window(w), picture(pic), target(t)
{
    pic->installEventFilter(this);
    AddKeysTo(w);
}

FindTool::~FindTool()
{
    if (!search) return;
    search->disconnect(this);
    delete search; // stops the search and waits for it
}

void FindTool::AddKeysTo(QWidget *w)
{
    auto key = [&](QKeySequence seq, void (FindTool::*act)()) {
        auto *s = new QShortcut(seq, w);
        connect(s, &QShortcut::activated, this, act);
        // The toolbox floats over the window: its keys and the window's may
        // both be live; either way the key acts once.
        connect(s, &QShortcut::activatedAmbiguously, this, act);
        (act == &FindTool::Undo ? undoKeys : proposalKeys).push_back(s);
    };
    key(QKeySequence(Qt::Key_Return), &FindTool::EnterShots);
    key(QKeySequence(Qt::Key_Enter), &FindTool::EnterShots);
    key(QKeySequence(Qt::Key_Escape), &FindTool::Drop);
    key(QKeySequence::Undo, &FindTool::Undo);
    EnableKeys();
}

void FindTool::EnableKeys()
{
    for (QShortcut *s : proposalKeys) s->setEnabled(Showing());
    for (QShortcut *s : undoKeys) s->setEnabled(!Showing() && !Finder.added.empty());
}

bool FindTool::Ready() const { return FindReady(app.session, target); }

void FindTool::Find(bool wholePicture)
{
    if (Searching()) return;
    Drop();
    QRect region;
    if (!wholePicture) {
        // The image pixels the window shows.
        const QRectF shown = picture->VisibleTwips();
        region =
            QRect(QPoint(int(shown.left() / TwipsPerPixel), int(shown.top() / TwipsPerPixel)),
                  QPoint(int(shown.right() / TwipsPerPixel), int(shown.bottom() / TwipsPerPixel)));
    }
    app.prompter.SetOwner(window);
    const auto prepared = PrepareFind(app.session, target, app.prompter, region);
    if (!prepared) {
        emit Changed();
        return;
    }
    asked = *prepared;
    // The search works on its own copy of the request; the session is not
    // touched until it has ended.
    progress = new QProgressDialog(QStringLiteral("Searching the picture for holes..."),
                                   QStringLiteral("Cancel"), 0, 100, window);
    progress->setObjectName(QStringLiteral("FindProgress"));
    progress->setWindowTitle(QStringLiteral("Find"));
    // Nothing in the session may change while the search reads it.
    progress->setWindowModality(Qt::ApplicationModal);
    progress->setAutoClose(false);
    progress->setAutoReset(false);
    progress->setMinimumDuration(0);
    progress->setValue(0);
    found = std::make_shared<Result>();
    search = new SearchJob(
        [what = asked, result = found](const SearchControl &control) mutable {
            what.request.control = &control;
            result->report = RunFind(what, &result->error);
        },
        this);
    connect(search, &SearchJob::Progress, progress.data(), &QProgressDialog::setValue);
    connect(progress.data(), &QProgressDialog::canceled, this, &FindTool::CancelSearch);
    connect(search, &SearchJob::Finished, this, &FindTool::SearchEnded);
    progress->show();
    emit Changed();
}

void FindTool::CancelSearch()
{
    if (!search) return;
    // The search ends on its own time; nothing it finds is taken.
    search->disconnect(this);
    search->Abandon();
    search = nullptr;
    found.reset();
    if (progress) progress->deleteLater();
    Show(QString());
    emit Changed();
}

void FindTool::SearchEnded()
{
    if (!search) return;
    search->deleteLater();
    search = nullptr;
    if (progress) {
        progress->disconnect(this);
        progress->hide();
        progress->deleteLater();
    }
    const Result r = found ? std::move(*found) : Result{};
    found.reset();
    app.prompter.SetOwner(window);
    if (TakeFound(app.session, Finder, app.prompter, asked, r.report, r.error)) {
        int sure = 0;
        for (const HoleProposal &h : Finder.proposals) sure += h.Sure();
        Show(QStringLiteral("Found %1 holes (%2 sure, %3 doubtful). Click a proposal to accept or "
                            "reject it; Enter Shots (Enter) adds the accepted ones, Esc drops "
                            "them.")
                 .arg(Finder.proposals.size())
                 .arg(sure)
                 .arg(int(Finder.proposals.size()) - sure));
    }
    emit Changed();
}

void FindTool::EnterShots()
{
    if (!Showing()) return;
    app.prompter.SetOwner(window);
    const int n = EnterProposals(app.session, target, Finder, app.prompter);
    app.Document().Changed();
    Show(n ? QStringLiteral("%1 shots entered; Ctrl+Z takes them back.").arg(n) : QString());
    emit Changed();
}

void FindTool::Drop()
{
    if (!Showing()) return;
    Finder.proposals.clear();
    Show(QString());
    emit Changed();
}

void FindTool::Undo()
{
    if (Showing() || Finder.added.empty()) return;
    app.prompter.SetOwner(window);
    UndoFind(app.session, target, Finder, app.prompter);
    app.Document().Changed();
    Show(QStringLiteral("The shots of the last Find were taken back."));
    emit Changed();
}

void FindTool::Forget()
{
    CancelSearch();
    Finder.proposals.clear();
    Finder.added.clear();
    Show(QString());
}

void FindTool::Show(const QString &status)
{
    EnableKeys();
    Overlay->setVisible(Showing());
    Overlay->raise();
    Overlay->update();
    if (status.isEmpty())
        window->statusBar()->clearMessage();
    else
        window->statusBar()->showMessage(status);
}

bool FindTool::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != picture || event->type() != QEvent::MouseButtonPress || !Showing()) return false;
    const auto *e = static_cast<QMouseEvent *>(event);
    const double zoom = picture->Zoom();
    const QPointF at = e->position() / zoom;
    const int k = ProposalAt(Finder, at, 6 / zoom);
    if (k < 0) return false; // not on a proposal: the picture's own click
    Finder.proposals[size_t(k)].accepted = !Finder.proposals[size_t(k)].accepted;
    Overlay->update();
    return true;
}
