#include "graph/holefinder.h"

#include "config/configfile.h"
#include "detect/scanreader.h"
#include "imaging/targetimage.h"
#include "model/settingsfile.h"
#include "model/textnum.h"
#include "platform/localfile.h"
#include "platform/screen.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <algorithm>
#include <cmath>
#include <limits>

namespace {
const QString Title = QStringLiteral("Find");

void Tell(Prompter &prompter, const QString &text)
{
    prompter.MsgBox(text, Title, Buttons::Ok, Icon::Exclamation);
}

// Image pixels per unit of the group: a picture twip is ImageScale units.
double PixelsPerUnit(const Session &s) { return 1.0 / (double(s.ImageScale) * TwipsPerPixel); }

const QString DiameterGroup = QStringLiteral("Diameter");

// The unit name as a key: QSettings takes '/' and '\\' for group marks and
// has no empty key.
QString diameterKey(const QString &unit)
{
    QString k = unit;
    k.replace(QLatin1Char('%'), QStringLiteral("%25"))
        .replace(QLatin1Char('/'), QStringLiteral("%2F"))
        .replace(QLatin1Char('\\'), QStringLiteral("%5C"));
    return DiameterGroup + QLatin1Char('/') + (k.isEmpty() ? QStringLiteral("%") : k);
}

// The file of earlier versions: records "unit name",diameter, one per line.
QList<std::pair<QString, double>> oldRecords(const QString &path)
{
    QList<std::pair<QString, double>> out;
    const auto bytes = ReadRegularFile(path, 1 << 20, nullptr);
    if (!bytes) return out;
    for (const QByteArray &line : bytes->split('\n')) {
        const int comma = line.lastIndexOf(',');
        if (comma < 2 || !line.startsWith('"')) continue;
        const QString unit = QString::fromUtf8(line.mid(1, comma - 2));
        const double v = Val(QString::fromLatin1(line.mid(comma + 1)).trimmed());
        if (v > 0 && std::isfinite(v)) out.append({unit, v});
    }
    return out;
}

SettingsFile findSettings(const Session &s)
{
    SettingsFile ini(FindSettingsPath(s));
    if (ini.Path().isEmpty() || !ini.Keys(DiameterGroup).isEmpty()) return ini;
    // Taken over once into the form of today.
    const auto old = oldRecords(ini.Path());
    for (const auto &[unit, v] : old) ini.Set(diameterKey(unit), QString::number(v, 'g', 9));
    if (!old.isEmpty()) ini.Save();
    return ini;
}
} // namespace

bool HoleProposal::Sure() const { return confidence >= SureConfidence; }

QString FindSettingsPath(const Session &s)
{
    // No folder resolved (a headless run): nothing is remembered.
    if (s.AppDataDir.isEmpty()) return {};
    return QFileInfo(ConfigFilePath(s)).dir().filePath(QStringLiteral("find.ini"));
}

std::optional<double> RememberedDiameter(const Session &s)
{
    return findSettings(s).Number(diameterKey(s.UnitName.trimmed()),
                                  std::numeric_limits<double>::min(),
                                  std::numeric_limits<double>::max());
}

void RememberDiameter(const Session &s, double diameter)
{
    SettingsFile ini = findSettings(s);
    ini.Set(diameterKey(s.UnitName.trimmed()), QString::number(diameter, 'g', 9));
    // Remembering is a convenience: a folder that cannot be written is no error.
    ini.Save();
}

bool FindReady(const Session &s, const GraphPicture &p)
{
    return p.canvas.HasImage() && !s.ImagePath.isEmpty() && IsCalibrated(s) && s.AimX != -1;
}

std::optional<FindSearch> PrepareFind(const Session &s, const GraphPicture &p, Prompter &prompter,
                                      QRect region)
{
    if (!IsCalibrated(s)) {
        prompter.MsgBox(QStringLiteral("Image Scale Not Calibrated"), QStringLiteral("Calibration"),
                        Buttons::Ok, Icon::Exclamation);
        return std::nullopt;
    }
    if (s.AimX == -1) {
        prompter.MsgBox(QStringLiteral("No Aim Point Selected"), QStringLiteral("Aim Point"),
                        Buttons::Ok, Icon::Exclamation);
        return std::nullopt;
    }
    if (!p.canvas.HasImage() || s.ImagePath.isEmpty()) {
        Tell(prompter, QStringLiteral("There is no target image to search."));
        return std::nullopt;
    }
    const auto remembered = RememberedDiameter(s);
    const auto answer = prompter.InputBox(
        QStringLiteral("Bullet diameter (") + s.UnitName.trimmed() + QStringLiteral("):"), Title,
        remembered ? QString::number(*remembered, 'g', 6) : QString());
    if (!answer) return std::nullopt; // Cancel: nothing asked for, nothing to say
    const double diameter = ParseNumber(*answer).value_or(0);
    if (!(diameter > 0)) {
        Tell(prompter, QStringLiteral("The bullet diameter must be a positive number."));
        return std::nullopt;
    }
    if (!region.isEmpty()) {
        // The part shown may reach past the image onto the background.
        region &= QRect(QPoint(0, 0), UprightReaderSize(s.ImagePath));
        if (region.isEmpty()) {
            Tell(prompter, QStringLiteral("No holes found in the searched area."));
            return std::nullopt;
        }
    }
    FindSearch search;
    search.path = s.ImagePath;
    search.request.pixelsPerUnit = PixelsPerUnit(s);
    search.request.bulletDiameter = diameter;
    search.request.region = region;
    return search;
}

std::optional<HoleReport> RunFind(const FindSearch &search, QString *error)
{
    return FindHolesInFile(search.path, search.request, error);
}

bool TakeFound(const Session &s, HoleFinder &f, Prompter &prompter, const FindSearch &search,
               const std::optional<HoleReport> &report, const QString &error)
{
    f.proposals.clear();
    if (!report) {
        Tell(prompter, error);
        return false;
    }
    RememberDiameter(s, search.request.bulletDiameter);
    // Shots already in the group are not proposed again.
    const double near = 0.5 * search.request.bulletDiameter;
    for (const FoundHole &h : report->holes) {
        const double x = double(s.ImageScale) * h.x * TwipsPerPixel - s.AimX;
        const double y = -(double(s.ImageScale) * h.y * TwipsPerPixel - s.AimY);
        bool entered = false;
        for (qint32 k = 1; k <= std::min(s.ShotCount, ShotCapacity) && !entered; ++k)
            entered = std::hypot(x - s.ShotX[k], y - s.ShotY[k]) < near;
        if (!entered) f.proposals.push_back({h.x, h.y, h.diameter, h.confidence, false});
    }
    for (HoleProposal &h : f.proposals) h.accepted = h.Sure();
    if (f.proposals.empty()) {
        Tell(prompter, QStringLiteral("No holes found in the searched area."));
        return false;
    }
    return true;
}

int ProposalAt(const HoleFinder &f, QPointF at, double slackPixels)
{
    int best = -1;
    double bestDistance = 0;
    for (int k = 0; k < int(f.proposals.size()); ++k) {
        const HoleProposal &h = f.proposals[size_t(k)];
        const double d = std::hypot(at.x() - h.x, at.y() - h.y);
        if (d <= std::max(h.diameter / 2, slackPixels) && (best < 0 || d < bestDistance)) {
            best = k;
            bestDistance = d;
        }
    }
    return best;
}

int EnterProposals(Session &s, GraphPicture &p, HoleFinder &f, Prompter &prompter)
{
    std::vector<HoleProposal> chosen;
    for (const HoleProposal &h : f.proposals)
        if (h.accepted) chosen.push_back(h);
    f.proposals.clear();
    if (chosen.empty()) return 0;
    std::stable_sort(chosen.begin(), chosen.end(),
                     [](const HoleProposal &a, const HoleProposal &b) {
                         return a.y != b.y ? a.y < b.y : a.x < b.x;
                     });
    f.added.clear();
    f.savedBefore = s.StatsSaved;
    f.removeEnabledBefore = s.Toolbox.cmdRemShot.enabled;
    const qint32 tool = s.ToolMode;
    s.ToolMode = Tool::EnterShot;
    int entered = 0;
    for (const HoleProposal &h : chosen) {
        if (s.ShotCount >= ShotCapacity) break;
        // The picture point of the hole's centre, as a click there would give.
        Picture1_MouseDown(s, p, prompter, float(h.x * TwipsPerPixel), float(h.y * TwipsPerPixel));
        f.added.emplace_back(s.ShotX[s.ShotCount], s.ShotY[s.ShotCount]);
        ++entered;
    }
    s.ToolMode = tool;
    if (const int left = int(chosen.size()) - entered; left > 0)
        Tell(prompter, QStringLiteral("The group holds at most %1 shots: %2 of the found shots "
                                      "%3 left out.")
                           .arg(ShotCapacity)
                           .arg(left)
                           .arg(left == 1 ? QStringLiteral("was") : QStringLiteral("were")));
    return entered;
}

bool UndoFind(Session &s, GraphPicture &p, HoleFinder &f, Prompter &prompter)
{
    if (f.added.empty()) return false;
    const qint32 tool = s.ToolMode;
    s.ToolMode = Tool::RemoveShot;
    const qint32 before = s.ShotCount;
    for (auto it = f.added.rbegin(); it != f.added.rend(); ++it) {
        for (qint32 k = std::min(s.ShotCount, ShotCapacity); k >= 1; --k) {
            if (s.ShotX[k] != it->first || s.ShotY[k] != it->second) continue;
            // Removed as a click on its marker removes it.
            Picture1_MouseDown(s, p, prompter, (s.AimX + s.ShotX[k]) / s.ImageScale,
                               (s.AimY - s.ShotY[k]) / s.ImageScale);
            break;
        }
    }
    s.ToolMode = tool;
    const bool all = before - s.ShotCount == qint32(f.added.size());
    if (all) {
        s.StatsSaved = f.savedBefore;
        s.Toolbox.cmdRemShot.enabled = f.removeEnabledBefore;
    }
    f.added.clear();
    return true;
}
