// The user-activity test of the play loop and its diagnostic texts.
#include "engine/UserActivity.h"

#include <cmath>
#include <limits>
#include <string>

namespace {

// Play start dates the reference this far back so the quiet time has already passed.
constexpr int64_t kStartPlayBackdate = 15;

std::u16string Ascii(const std::string& text) {
    return std::u16string(text.begin(), text.end());
}

std::u16string PointText(const char* szLabel, Point pt) {
    return Ascii(std::string(szLabel) + ": x=" + std::to_string(pt.x) +
                 " y=" + std::to_string(pt.y));
}

// Whole pixels from a to b. The differences are exact in double even for the farthest int32
// points; only the distance may exceed int32.
double Distance(Point a, Point b) {
    const double dx = static_cast<double>(a.x) - static_cast<double>(b.x);
    const double dy = static_cast<double>(a.y) - static_cast<double>(b.y);
    return std::floor(std::sqrt(dx * dx + dy * dy));
}

int32_t SaturateToInt32(double value) {
    constexpr double kMax = std::numeric_limits<int32_t>::max();
    return value >= kMax ? std::numeric_limits<int32_t>::max() : static_cast<int32_t>(value);
}

}  // namespace

std::u16string ActivityDiagnostics::OldText() const {
    return PointText("old", ptOld);
}

std::u16string ActivityDiagnostics::CurrentText() const {
    return PointText("cur", ptCur);
}

std::u16string ActivityDiagnostics::DistanceText() const {
    return Ascii("distance=" + std::to_string(nDistance));
}

bool CUserActivityGuard::IsUserActive(Point ptCursor, int64_t nNow) {
    const double distance = Distance(m_ptRef, ptCursor);
    m_diagnostics = ActivityDiagnostics{m_ptRef, ptCursor, SaturateToInt32(distance)};
    if (distance >= kMoveThreshold) {
        m_ptRef = ptCursor;
        m_tRefTime = nNow;
        return true;
    }
    // Unsigned subtraction gives the exact elapsed time once nNow is not before the reference
    // time, with no overflow for any pair of int64 values.
    return nNow < m_tRefTime || static_cast<uint64_t>(nNow) - static_cast<uint64_t>(m_tRefTime) <
                                    static_cast<uint64_t>(kQuietSeconds);
}

void CUserActivityGuard::StartPlay(Point ptCursor, int64_t nNow) {
    m_ptRef = ptCursor;
    constexpr int64_t kEarliest = std::numeric_limits<int64_t>::min() + kStartPlayBackdate;
    m_tRefTime = nNow < kEarliest ? std::numeric_limits<int64_t>::min() : nNow - kStartPlayBackdate;
}
