#include "stats/groupstats.h"

#include "platform/vectorstate.h"

#include <cmath>

float RadialDistance(float x, float y)
{
    return float(std::sqrt(double(y) * double(y) + double(x) * double(x)));
}

namespace {
// A float difference squared in double precision, as the arithmetic rules say.
double sq(float v) { return double(v) * double(v); }
} // namespace

float PairDistance(const Session &s, qint32 a, qint32 b)
{
    return float(std::sqrt(sq(s.ShotY[a] - s.ShotY[b]) + sq(s.ShotX[a] - s.ShotX[b])));
}

float GreatestPairDistance(const Session &s)
{
    // Every pair is compared; only a strictly larger distance replaces the
    // best so far, so the first pair in shot order wins a tie.
    float best = 0;
    for (qint32 a = 1; a < s.ShotCount; ++a)
        for (qint32 b = a + 1; b <= s.ShotCount; ++b) {
            const float d = PairDistance(s, a, b);
            if (d > best) best = d;
        }
    return best;
}

void ComputeGroupStats(Session &s)
{
    const qint32 n = s.ShotCount;
    if (n < 2) return;
    const CleanVectorState clean;
    const float factor = float(1.0 / double(n - 1));
    float sumX = 0, sumY = 0, sumR = 0;
    float ssX = 0, ssY = 0, ssR = 0;
    float maxX = s.ShotX[1], minX = s.ShotX[1];
    float maxY = s.ShotY[1], minY = s.ShotY[1];
    float maxR = s.ShotR[1], minR = s.ShotR[1];
    qint32 kMaxX = 1, kMinX = 1, kMaxY = 1, kMinY = 1;
    for (qint32 k = 1; k <= n; ++k) {
        const float x = s.ShotX[k], y = s.ShotY[k], r = s.ShotR[k];
        sumX = sumX + x;
        if (x > maxX) {
            maxX = x;
            kMaxX = k;
        }
        if (x < minX) {
            minX = x;
            kMinX = k;
        }
        sumY = sumY + y;
        if (y > maxY) {
            maxY = y;
            kMaxY = k;
        }
        if (y < minY) {
            minY = y;
            kMinY = k;
        }
        sumR = sumR + r;
        if (r > maxR) maxR = r;
        if (r < minR) minR = r;
    }
    s.SpanAcrossX = PairDistance(s, kMaxX, kMinX);
    s.SpanAcrossY = PairDistance(s, kMaxY, kMinY);
    s.GroupSize = GreatestPairDistance(s);
    s.RangeX = maxX - minX;
    s.RangeY = maxY - minY;
    s.RangeR = maxR - minR;
    s.MeanX = sumX / float(n);
    s.MeanY = sumY / float(n);
    s.MeanR = sumR / float(n);
    for (qint32 k = 1; k <= n; ++k) {
        ssX = float(double(ssX) + sq(s.ShotX[k] - s.MeanX));
        ssY = float(double(ssY) + sq(s.ShotY[k] - s.MeanY));
        ssR = float(double(ssR) + sq(s.ShotR[k] - s.MeanR));
    }
    s.SdX = float(std::sqrt(double(ssX * factor)));
    s.SdY = float(std::sqrt(double(ssY * factor)));
    s.SdR = float(std::sqrt(double(ssR * factor)));
    s.GroupCenterX = s.AimX + s.MeanX;
    s.GroupCenterY = s.AimY - s.MeanY;
}

void RemoveShot(Session &s, qint32 shotNumber)
{
    const qint32 n = s.ShotCount;
    if (shotNumber < 1 || shotNumber > n) return;
    for (qint32 i = shotNumber; i <= n - 1; ++i) {
        s.ShotX[i] = s.ShotX[i + 1];
        s.ShotY[i] = s.ShotY[i + 1];
        s.ShotR[i] = s.ShotR[i + 1];
    }
    s.ShotX[n] = 0;
    s.ShotY[n] = 0;
    s.ShotR[n] = 0;
    s.ShotCount = n - 1;
    if (s.ShotCount < 2) {
        s.MeanX = s.MeanY = s.MeanR = 0;
        s.SdX = s.SdY = s.SdR = 0;
        s.RangeX = s.RangeY = s.RangeR = 0;
        s.GroupSize = 0;
    } else {
        ComputeGroupStats(s);
    }
}

std::optional<double> GroupSizeMOA(const Session &s)
{
    if (!s.RangeEntered || !(s.RangeToTarget > 0)) return std::nullopt;
    double size = s.GroupSize;
    const QString unit = s.UnitName.trimmed().toLower();
    if (unit == QLatin1String("centimeters"))
        size /= 2.54;
    else if (unit == QLatin1String("millimeters"))
        size /= 25.4;
    return size / (double(s.RangeToTarget) * 0.01047198);
}

QString UnitKey(const QString &unitName) { return unitName.trimmed().toCaseFolded(); }

std::optional<double> InchesPerUnit(const QString &unitName)
{
    const QString u = UnitKey(unitName);
    if (u == QLatin1String("inches")) return 1.0;
    if (u == QLatin1String("centimeters")) return 1.0 / 2.54;
    if (u == QLatin1String("millimeters")) return 1.0 / 25.4;
    return std::nullopt;
}
