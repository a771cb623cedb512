// Drawings of the icons. Coordinates are given on a 16-unit grid and scaled to the icon size;
// straight strokes are snapped so that their edges fall on pixel edges at every size.
#include "tools/resgen/IconArt.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "tools/resgen/Palette.h"

namespace resgen {
namespace {

// Maps the 16-unit design grid onto an icon of n pixels.
class Grid {
public:
    explicit Grid(int n) : m_nSize(n), m_dUnit(n / 16.0) {}

    int Size() const { return m_nSize; }
    double operator()(double units) const { return units * m_dUnit; }
    Point P(double x, double y) const { return {x * m_dUnit, y * m_dUnit}; }
    // Whole pixels for `units`, never less than `minimum`.
    int Pixels(double units, int minimum = 0) const {
        return std::max(minimum, static_cast<int>(std::lround(units * m_dUnit)));
    }
    // Width of outlines: one pixel up to 20 pixels, then growing with the size.
    int Line() const { return m_nSize < 24 ? 1 : m_nSize < 40 ? 2 : 3; }

private:
    int m_nSize;
    double m_dUnit;
};

// The pointer, tip at `tip`, lying along the diagonal towards the lower right. With `hull`, the
// convex outline around it instead (the notches between head and tail left out), which is what
// the ring is cut away under.
std::vector<Point> PointerArrow(Point tip, double scale, bool hull = false) {
    struct Corner {
        double along;   // distance along the diagonal
        double across;  // distance across it
        bool notch;
    };
    constexpr Corner kArrow[] = {{0.0, 0.0, false},  {6.2, 3.0, false},   {4.9, 1.05, true},
                                 {9.4, 1.05, false}, {9.4, -1.05, false}, {4.9, -1.05, true},
                                 {6.2, -3.0, false}};
    const double d = std::sqrt(0.5) * scale;
    std::vector<Point> outline;
    for (const Corner& corner : kArrow) {
        if (!(hull && corner.notch)) {
            outline.push_back({tip.x + d * (corner.along - corner.across),
                               tip.y + d * (corner.along + corner.across)});
        }
    }
    return outline;
}

void DrawApp(Canvas& canvas, const Grid& g) {
    const int n = g.Size();
    const double c = n / 2.0;
    const double outer = c - g(0.75);
    const double ring = std::max(2.0, g(1.75));
    // Ticks cross the ring and stop short of the centre, like a gun sight. Their width is even,
    // so that a tick centred on the middle of an even-sized icon covers whole pixels.
    const int tick = 2 * std::max(1, static_cast<int>(std::floor(g(1.0) + 0.25)));
    const double t0 = c - tick / 2.0;
    const double reach = g(3.5);
    Shape sight = Union({Ring({c, c}, outer, outer - ring), Rect(t0, 0, t0 + tick, c - reach),
                         Rect(t0, c + reach, t0 + tick, n), Rect(0, t0, c - reach, t0 + tick),
                         Rect(c + reach, t0, n, t0 + tick)});
    if (n < 24) {
        // Too small for a readable pointer: a dot marks the centre instead.
        canvas.Fill(sight, kAccent);
        canvas.Fill(Rect(t0, t0, t0 + tick, t0 + tick), kInk);
        return;
    }
    // The pointer's tip rests on the centre; a transparent gap keeps it apart from the ring.
    const std::vector<Point> arrow = PointerArrow({c, c}, g(0.92));
    canvas.Fill(Difference(sight, RoundedPolygon(PointerArrow({c, c}, g(0.92), true),
                                                 std::max(1.0, g(0.9)))),
                kAccent);
    canvas.Fill(Polygon(arrow), kInk);
}

// Dashes `width` pixels thick along one side of a frame, from along0 to along0 + length, spread
// evenly so that both ends are drawn and the corners read as corners.
void DashRun(Canvas& canvas, bool horizontal, int along0, int length, int across, int width,
             int dash) {
    const int period = 2 * dash;
    const int count = std::max(2, (length + dash + period / 2) / period);
    for (int i = 0; i < count; ++i) {
        const int start =
            along0 +
            static_cast<int>(std::lround(static_cast<double>(i) * (length - dash) / (count - 1)));
        if (horizontal) {
            canvas.Fill(Rect(start, across, start + dash, across + width), kInk);
        } else {
            canvas.Fill(Rect(across, start, across + width, start + dash), kInk);
        }
    }
}

void DrawSelectTarget(Canvas& canvas, const Grid& g) {
    const int n = g.Size();
    const int w = g.Line();
    // The crosshair reaches the icon's lower-right edges; the frame's corner lies under it.
    const int cw = n < 40 ? 2 : 3;
    const double arm = cw % 2 == 1 ? std::floor(g(3.6)) + 0.5 : std::round(g(3.6));
    const double cx = n - arm;
    const int x0 = g.Pixels(1.0, 1);
    const int y0 = x0 + g.Pixels(1.0, 1);
    const int x1 = static_cast<int>(std::lround(cx + w / 2.0));  // exclusive
    const int dash = g.Pixels(2.0, 2);
    DashRun(canvas, true, x0, x1 - x0, y0, w, dash);
    DashRun(canvas, true, x0, x1 - x0, x1 - w, w, dash);
    DashRun(canvas, false, y0, x1 - y0, x0, w, dash);
    DashRun(canvas, false, y0, x1 - y0, x1 - w, w, dash);
    const double h = cw / 2.0;
    const double halo = std::max(1, g.Pixels(1.0));
    canvas.Fill(Union({Rect(cx - arm - halo, cx - h - halo, n, cx + h + halo),
                       Rect(cx - h - halo, cx - arm - halo, cx + h + halo, n)}),
                kWhite);
    canvas.Fill(Union({Rect(cx - arm, cx - h, n, cx + h), Rect(cx - h, cx - arm, cx + h, n)}),
                kAccent);
}

// Width of the strokes of the small glyphs: thin enough at 12 and 16 pixels that the diagonals
// stay sharp (a pixel on the line fully covered, its neighbours faint).
double GlyphStroke(int n) {
    return n <= 12 ? 1.25 : n <= 16 ? 1.4 : n <= 24 ? 2.0 : n / 12.0 + 0.5;
}

void DrawHide(Canvas& canvas, const Grid& g) {
    const int n = g.Size();
    const double a = std::round(n * 0.25);
    const double b = n - a;
    const double w = GlyphStroke(n);
    canvas.Fill(Union({Line({a, a}, {b, b}, w), Line({b, a}, {a, b}, w)}), kInk);
}

void DrawFlyWindow(Canvas& canvas, const Grid& g) {
    const int n = g.Size();
    const double w = GlyphStroke(n);
    const double half = n * 0.29;
    const double mid = n / 2.0;
    const double top = std::round(mid - half / 2.0);
    canvas.Fill(Union({Line({mid - half, top + half}, {mid, top}, w),
                       Line({mid, top}, {mid + half, top + half}, w), Disc({mid, top}, w / 2.0)}),
                kInk);
}

// A white page from (x0, y0) to (x1, y1) with its top right corner folded down, outlined in
// ink; returns the fold's size.
double DrawPage(Canvas& canvas, const Grid& g, double x0, double y0, double x1, double y1) {
    const int w = g.Line();
    const double h = w / 2.0;
    const double fold = g.Pixels(4.0);
    const std::vector<Point> outline{{x0 + h, y0 + h}, {x1 - fold, y0 + h}, {x1 - h, y0 + fold},
                                     {x1 - h, y1 - h}, {x0 + h, y1 - h},    {x0 + h, y0 + h}};
    canvas.Fill(Polygon(outline), kWhite);
    canvas.Fill(Stroke(outline, w), kInk);
    canvas.Fill(Stroke({{x1 - fold, y0 + h}, {x1 - fold, y0 + fold}, {x1 - h, y0 + fold}}, w),
                kInk);
    return fold;
}

void DrawFile(Canvas& canvas, const Grid& g) {
    const int n = g.Size();
    const int w = g.Line();
    const double x0 = g.Pixels(3.0);
    const double x1 = n - g.Pixels(3.0);
    const double y0 = g.Pixels(1.0);
    const double y1 = n - g.Pixels(1.0);
    const double fold = DrawPage(canvas, g, x0, y0, x1, y1);
    const double left = x0 + w + g.Pixels(1.0, 1);
    const double right = x1 - w - g.Pixels(1.0, 1);
    const int gap = g.Pixels(2.0, 2);
    for (int i = 0; i < 3; ++i) {
        const double y = y0 + fold + g.Pixels(1.0, 1) + i * gap;
        if (y + w > y1 - w - 1) {
            break;
        }
        canvas.Fill(Rect(left, y, i == 2 ? right - g.Pixels(2.0, 2) : right, y + w), kAccent);
    }
}

void DrawHelp(Canvas& canvas, const Grid& g) {
    const int n = g.Size();
    canvas.Fill(Disc({n / 2.0, n / 2.0}, n / 2.0 - g(0.25)), kAccent);
    std::vector<Point> hook{g.P(5.6, 6.2)};
    AppendCubic(hook, g.P(5.6, 4.5), g.P(6.7, 3.5), g.P(8.0, 3.5));
    AppendCubic(hook, g.P(9.4, 3.5), g.P(10.4, 4.5), g.P(10.4, 5.8));
    AppendCubic(hook, g.P(10.4, 7.4), g.P(8.0, 7.6), g.P(8.0, 9.0));
    hook.push_back(g.P(8.0, 9.6));
    canvas.Fill(Stroke(hook, g(1.8)), kWhite);
    canvas.Fill(Disc(g.P(8.0, 12.0), g(1.15)), kWhite);
}

void DrawTriangle(Canvas& canvas, const Grid& g, Rgb colour) {
    const double r = g(1.0);
    const double left = g.Pixels(4.0) + r;
    canvas.Fill(RoundedPolygon({{left, g(3.5)}, {left, g(12.5)}, g.P(12.6, 8.0)}, r), colour);
}

void DrawPlaying(Canvas& canvas, const Grid& g) {
    const int n = g.Size();
    const double a = g.Pixels(4.0);
    canvas.Fill(RoundRect(a, a, n - a, n - a, g(1.25)), kStop);
}

void DrawSettings(Canvas& canvas, const Grid& g) {
    const int n = g.Size();
    const Point c{n / 2.0, n / 2.0};
    const double tooth = g(3.0);
    const double outer = g(7.6);
    const Shape bar = Rect(c.x - tooth / 2.0, c.y - outer, c.x + tooth / 2.0, c.y + outer);
    const double diagonal = std::sqrt(0.5);
    const Shape teeth =
        Intersection(Union({bar, Rotated(bar, c, 0.0, 1.0), Rotated(bar, c, diagonal, diagonal),
                            Rotated(bar, c, diagonal, -diagonal)}),
                     Disc(c, outer));
    canvas.Fill(Difference(Union({Disc(c, g(5.4)), teeth}), Disc(c, g(2.3))), kInk);
}

// A target list as Explorer shows the file: the page of the File icon, wider, with the
// application's reticle on it in place of the text lines.
void DrawDocument(Canvas& canvas, const Grid& g) {
    const int n = g.Size();
    const int w = g.Line();
    const double x0 = g.Pixels(2.0);
    const double x1 = n - g.Pixels(2.0);
    const double y0 = 0;
    const double y1 = n;
    const double fold = DrawPage(canvas, g, x0, y0, x1, y1);
    // The reticle sits in the page below the fold, its ticks ending inside the page's margin.
    const double c = (x0 + x1) / 2.0;
    const double cy = (y0 + fold + y1) / 2.0;
    const double outer = std::min(c - x0 - w - g(0.5), (y1 - y0 - fold) / 2.0 - w - g(0.5));
    const double ring = std::max(1.25, g(1.25));
    const int tick = n < 24 ? 1 : 2;
    const double t0 = std::round(c - tick / 2.0);
    const double ty = std::round(cy - tick / 2.0);
    const double reach = outer * 0.45;
    canvas.Fill(Union({Ring({c, cy}, outer, outer - ring),
                       Rect(t0, cy - outer - g(0.5), t0 + tick, cy - reach),
                       Rect(t0, cy + reach, t0 + tick, cy + outer + g(0.5)),
                       Rect(c - outer - g(0.5), ty, c - reach, ty + tick),
                       Rect(c + reach, ty, c + outer + g(0.5), ty + tick)}),
                kAccent);
}

}  // namespace

Canvas DrawIcon(IconPicture picture, int size) {
    Canvas canvas(size, size);
    const Grid g(size);
    switch (picture) {
        case IconPicture::App:
            DrawApp(canvas, g);
            break;
        case IconPicture::SelectTarget:
            DrawSelectTarget(canvas, g);
            break;
        case IconPicture::Hide:
            DrawHide(canvas, g);
            break;
        case IconPicture::FlyWindow:
            DrawFlyWindow(canvas, g);
            break;
        case IconPicture::File:
            DrawFile(canvas, g);
            break;
        case IconPicture::Help:
            DrawHelp(canvas, g);
            break;
        case IconPicture::Play:
            DrawTriangle(canvas, g, kGo);
            break;
        case IconPicture::Playing:
            DrawPlaying(canvas, g);
            break;
        case IconPicture::Settings:
            DrawSettings(canvas, g);
            break;
        case IconPicture::PlayDisabled:
            DrawTriangle(canvas, g, kDisabled);
            break;
        case IconPicture::Document:
            DrawDocument(canvas, g);
            break;
    }
    return canvas;
}

}  // namespace resgen
