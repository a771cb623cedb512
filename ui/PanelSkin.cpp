// The panel's frame and separator lines at the display's scale.
#include "ui/PanelSkin.h"

#include <iterator>

namespace {

constexpr uint32_t kLightSeparator = 0xCCCCCC;
constexpr uint32_t kDarkSeparator = 0xB9B9B9;
constexpr uint32_t kOuterHighlight = 0xE3E3E3;
constexpr uint32_t kInnerHighlight = 0xFFFFFF;
constexpr uint32_t kOuterShadow = 0x696969;
constexpr uint32_t kInnerShadow = 0xA0A0A0;

// An edge at 96 DPI, counted from the client's left or top, or back from its right or bottom.
struct Edge {
    int n;
    bool bFromEnd;
};
constexpr Edge S(int n) {
    return Edge{n, false};
}
constexpr Edge E(int n) {
    return Edge{n, true};
}

struct BarRule {
    uint32_t colour;
    Edge left, top, right, bottom;
};

// Each 1-pixel line as the bar of pixels it covers (a line's end point is not drawn).
constexpr BarRule kBars[] = {
    {kLightSeparator, S(3), S(25), S(127), S(26)},
    {kLightSeparator, S(3), S(97), S(127), S(98)},
    {kLightSeparator, S(3), E(6), S(127), E(5)},
    {kDarkSeparator, S(3), S(26), S(127), S(27)},
    {kDarkSeparator, S(3), E(5), S(127), E(4)},
    {kOuterHighlight, S(0), S(0), E(1), S(1)},
    {kOuterHighlight, S(0), S(0), S(1), E(1)},
    {kInnerHighlight, S(1), S(1), E(2), S(2)},
    {kInnerHighlight, S(1), S(1), S(2), E(2)},
    {kOuterShadow, E(1), S(0), E(0), E(1)},
    {kOuterShadow, S(1), E(1), E(0), E(0)},
    {kInnerShadow, E(2), S(1), E(1), E(2)},
    {kInnerShadow, S(2), E(2), E(1), E(1)},
    // Over the title.
    {kLightSeparator, S(3), S(102), S(126), S(103)},
    {kLightSeparator, S(3), E(10), S(126), E(9)},
};
static_assert(std::size(kBars) > kPanelSkinBarsBeforeTitle);

int Resolve(Edge edge, int nExtent, const CDpiScale& scale) {
    return edge.bFromEnd ? nExtent - scale.Scale(edge.n) : scale.Scale(edge.n);
}

}  // namespace

std::vector<PanelSkinBar> PanelSkinBars(int nWidth, int nHeight, const CDpiScale& scale) {
    std::vector<PanelSkinBar> bars;
    bars.reserve(std::size(kBars));
    for (const BarRule& rule : kBars) {
        bars.push_back(PanelSkinBar{
            rule.colour,
            Rect{Resolve(rule.left, nWidth, scale), Resolve(rule.top, nHeight, scale),
                 Resolve(rule.right, nWidth, scale), Resolve(rule.bottom, nHeight, scale)}});
    }
    return bars;
}

Rect PanelTitleRect(const CDpiScale& scale) {
    return scale.Scale(Rect{3, 5, 3 + 78, 5 + 18});
}
