#pragma once
// Find: bullet holes proposed over the target picture. The shooter accepts or
// rejects each proposal; accepted ones enter the group exactly as clicked
// shots do, and the one Find that added them can be taken back.
#include "detect/scanreader.h"
#include "graph/targetdrawing.h"
#include "model/session.h"
#include "platform/prompter.h"

#include <QPointF>
#include <QRect>
#include <optional>
#include <vector>

struct HoleProposal {
    double x = 0, y = 0; // image pixels
    double diameter = 0; // pixels
    double confidence = 0;
    bool accepted = false;
    bool Sure() const;
};

struct HoleFinder {
    std::vector<HoleProposal> proposals;
    // The shots the last Find entered, while they can be taken back.
    std::vector<std::pair<float, float>> added;
    bool savedBefore = true, removeEnabledBefore = false;
    bool Showing() const { return !proposals.empty(); }
};

// The settings file of Find, beside peltrix.ini: the last bullet diameter
// for each unit name.
QString FindSettingsPath(const Session &s);
std::optional<double> RememberedDiameter(const Session &s);
void RememberDiameter(const Session &s, double diameter);

// Find may start: an image, a calibration and an aim point.
bool FindReady(const Session &s, const GraphPicture &p);

// A search Find is about to run: all it needs, copied, so that it can run on
// another thread while the session goes on.
struct FindSearch {
    QString path;
    HoleRequest request;
};

// Asks for the bullet diameter and checks that `region` (image pixels;
// empty: the whole image) of the session's image can be searched. Nothing,
// with the message shown, when refused or not asked for.
std::optional<FindSearch> PrepareFind(const Session &s, const GraphPicture &p, Prompter &prompter,
                                      QRect region);
// Runs the search (on any thread); nothing, with the reason in `error`, when
// it failed or was cancelled.
std::optional<HoleReport> RunFind(const FindSearch &search, QString *error);
// Leaves in `f` the proposals of a search that ran, less the shots already
// in the group, and remembers the diameter. False, with the message shown,
// when the search failed or found nothing.
bool TakeFound(const Session &s, HoleFinder &f, Prompter &prompter, const FindSearch &search,
               const std::optional<HoleReport> &report, const QString &error);
// The proposal under an image point, or -1.
int ProposalAt(const HoleFinder &f, QPointF imagePoint, double slackPixels);
// Enters the accepted proposals top-left first through the road of a
// clicked shot; the rest are dropped. Returns how many were entered.
int EnterProposals(Session &s, GraphPicture &p, HoleFinder &f, Prompter &prompter);
// Removes the shots the last Find entered. False when there is nothing to undo.
bool UndoFind(Session &s, GraphPicture &p, HoleFinder &f, Prompter &prompter);
