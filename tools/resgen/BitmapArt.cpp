// Drawings of the tile menu badge, the sight marker and the crosshair cursor.
#include "tools/resgen/BitmapArt.h"

#include <vector>

#include "tools/resgen/Palette.h"

namespace resgen {
namespace {

constexpr Rgb kSightYellow{255, 242, 0};
constexpr Rgb kSightShade{190, 176, 34};  // the yellow darkened towards the grey
constexpr Rgb kBadgeFace{226, 226, 226};
constexpr Rgb kBadgeEdge{150, 150, 150};
constexpr Rgb kBadgeArrow{28, 98, 204};

// A tick on the sight, drawn upright above the centre and turned into place.
std::vector<Point> TickAbove(Point c) {
    return {{c.x - 2.5, c.y - 27.0},
            {c.x + 2.5, c.y - 27.0},
            {c.x + 1.0, c.y - 15.0},
            {c.x - 1.0, c.y - 15.0}};
}

}  // namespace

Canvas DrawTileMenuBadge() {
    Canvas badge(16, 16);
    badge.Fill(Rect(0, 0, 16, 16), kBadgeEdge);
    badge.Fill(Rect(1, 1, 15, 15), kWhite);
    badge.Fill(Rect(2, 2, 15, 15), kBadgeFace);
    // Whole pixel rows 8, 6, 4 and 2 wide: a sharp staircase reads better than blended edges.
    for (int row = 0; row < 4; ++row) {
        badge.Fill(Rect(4 + row, 6 + row, 12 - row, 7 + row), kBadgeArrow);
    }
    return badge;
}

Canvas DrawSight() {
    // Pixel (32, 32) is the marked point, so the picture is symmetric about its centre.
    const Point c{32.5, 32.5};
    Canvas art(64, 64);
    std::vector<Shape> ticks;
    std::vector<Shape> tickOutlines;
    const double turns[4][2] = {{1.0, 0.0}, {0.0, 1.0}, {-1.0, 0.0}, {0.0, -1.0}};
    for (const auto& turn : turns) {
        ticks.push_back(Rotated(Polygon(TickAbove(c)), c, turn[0], turn[1]));
        tickOutlines.push_back(Rotated(RoundedPolygon(TickAbove(c), 1.5), c, turn[0], turn[1]));
    }
    art.Fill(Union({Ring(c, 31.5, 23.5), Union(tickOutlines)}), kInk);
    art.Fill(Union({Ring(c, 29.75, 25.25), Union(ticks)}), kSightYellow);
    // A crescent of shade along the lower right of the band, as if lit from the upper left.
    art.Fill(Difference(Ring(c, 29.75, 25.25), Disc({c.x - 1.75, c.y - 1.75}, 29.75)), kSightShade);

    Canvas sight(64, 64);
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            const Rgba px = art.At(x, y);
            sight.Set(x, y, px.a >= 128 ? Rgba{px.r, px.g, px.b, 255} : Rgba{255, 255, 255, 255});
        }
    }
    return sight;
}

PalettedCursor DrawCrosshairCursor() {
    constexpr int kSize = 32;
    constexpr uint8_t kRedIndex = 1;
    PalettedCursor cursor{kSize,
                          kSize,
                          16,
                          15,
                          {},
                          std::vector<uint8_t>(kSize * kSize, 0),
                          std::vector<bool>(kSize * kSize, true)};
    cursor.palette.fill({0, 0, 0});
    cursor.palette[kRedIndex] = {255, 0, 0};
    for (int i = 3; i <= 28; ++i) {
        for (const int at : {15 * kSize + i, i * kSize + 16}) {
            cursor.indices[static_cast<size_t>(at)] = kRedIndex;
            cursor.transparent[static_cast<size_t>(at)] = false;
        }
    }
    return cursor;
}

}  // namespace resgen
