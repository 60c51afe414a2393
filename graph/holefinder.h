#pragma once
// Find: bullet holes proposed over the target picture. The shooter accepts or
// rejects each proposal; accepted ones enter the group exactly as clicked
// shots do, and the one Find that added them can be taken back.
#include "app/session.h"
#include "graph/targetdrawing.h"
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

// Asks for the bullet diameter, searches `region` (image pixels; empty: the
// whole image) of the session's image and leaves the proposals in `f`.
// False, with the message shown, when refused or when nothing was found.
bool FindHolesOnPicture(Session &s, const GraphPicture &p, HoleFinder &f, Prompter &prompter,
                        QRect region);
// The proposal under an image point, or -1.
int ProposalAt(const HoleFinder &f, QPointF imagePoint, double slackPixels);
// Enters the accepted proposals top-left first through the road of a
// clicked shot; the rest are dropped. Returns how many were entered.
int EnterProposals(Session &s, GraphPicture &p, HoleFinder &f, Prompter &prompter);
// Removes the shots the last Find entered. False when there is nothing to undo.
bool UndoFind(Session &s, GraphPicture &p, HoleFinder &f, Prompter &prompter);
