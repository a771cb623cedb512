// Letters of the title wordmark, built from 2-pixel strokes on a baseline at row 15. Stems and
// bars lie on whole pixels so that they stay sharp; only curves and diagonals are blended.
#include "tools/resgen/TitleArt.h"

#include <vector>

#include "tools/resgen/Palette.h"

namespace resgen {
namespace {

constexpr double kCapTop = 2.0;
constexpr double kXTop = 5.0;
constexpr double kBaseline = 15.0;
constexpr double kStem = 2.0;

// Each letter is drawn with its left edge at x and returns where the next one may start.
double LetterT(Canvas& c, double x) {
    c.Fill(Rect(x, kCapTop, x + 12.0, kCapTop + kStem), kInk);
    c.Fill(Rect(x + 5.0, kCapTop, x + 7.0, kBaseline), kInk);
    return x + 12.0;
}

double LetterA(Canvas& c, double x) {
    c.Fill(Stroke(EllipsePath({x + 4.5, 10.0}, 3.5, 4.0), kStem), kInk);
    c.Fill(Rect(x + 7.0, kXTop, x + 9.0, kBaseline), kInk);
    return x + 9.0;
}

double LetterR(Canvas& c, double x) {
    c.Fill(Rect(x, kXTop, x + kStem, kBaseline), kInk);
    std::vector<Point> shoulder{{x + 1.0, 10.5}};
    AppendCubic(shoulder, {x + 1.0, 7.5}, {x + 3.0, 6.0}, {x + 6.0, 6.0});
    c.Fill(Stroke(shoulder, kStem), kInk);
    return x + 7.0;
}

double LetterV(Canvas& c, double x) {
    c.Fill(Polygon({{x, kXTop},
                    {x + 2.3, kXTop},
                    {x + 4.5, 12.4},
                    {x + 6.7, kXTop},
                    {x + 9.0, kXTop},
                    {x + 5.7, kBaseline},
                    {x + 3.3, kBaseline}}),
           kInk);
    return x + 9.0;
}

double LetterI(Canvas& c, double x) {
    c.Fill(Rect(x, kCapTop, x + kStem, kCapTop + kStem), kInk);
    c.Fill(Rect(x, kXTop, x + kStem, kBaseline), kInk);
    return x + kStem;
}

double LetterK(Canvas& c, double x) {
    c.Fill(Rect(x, kCapTop, x + kStem, kBaseline), kInk);
    c.Fill(Line({x + 1.0, 12.0}, {x + 8.0, kXTop}, 2.6), kInk);
    c.Fill(Line({x + 4.2, 9.0}, {x + 8.6, kBaseline}, 2.6), kInk);
    return x + 8.5;
}

}  // namespace

Canvas DrawTitle() {
    Canvas title(78, 18);
    title.Fill(Rect(0, 0, 78, 18), kWhite);
    constexpr double kGap = 2.0;
    double x = 2.0;
    x = LetterT(title, x) - 1.0;  // the bowl of the a tucks under the bar of the T
    x = LetterA(title, x) + kGap;
    x = LetterR(title, x) + kGap - 1.0;
    x = LetterV(title, x) + kGap;
    x = LetterI(title, x) + kGap;
    LetterK(title, x);
    return title;
}

}  // namespace resgen
