// The nearest-place section: how long "why not found" takes for pictures of three sizes on a
// full-HD desktop and photo screen, near the screen and far from it.
#include <algorithm>
#include <cstdint>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "bench/BenchSections.h"
#include "bench/BenchUtil.h"
#include "bench/SearchScreens.h"
#include "engine/NearestMatch.h"
#include "engine/PictureSearch.h"

namespace {

struct PictureSize {
    int32_t width;
    int32_t height;
};
constexpr PictureSize kPictureSizes[] = {{10, 10}, {40, 20}, {100, 60}};
constexpr ScreenKind kNearestKinds[] = {ScreenKind::Desktop, ScreenKind::Noise};

// A piece of the screen with three pixels changed, as a hover highlight or a cursor leaves it.
PixelBuffer ThreePixelsAway(const PixelBuffer& screen, PictureSize size, std::mt19937& random) {
    const int32_t left = static_cast<int32_t>(random() % (screen.Width() - size.width + 1));
    const int32_t top = static_cast<int32_t>(random() % (screen.Height() - size.height + 1));
    PixelBuffer picture(size.width, size.height);
    for (int32_t y = 0; y < size.height; ++y) {
        for (int32_t x = 0; x < size.width; ++x) {
            picture.Set(x, y, screen.At(left + x, top + y));
        }
    }
    for (int k = 0; k < 3; ++k) {
        const int32_t x = static_cast<int32_t>(random() % size.width);
        const int32_t y = static_cast<int32_t>(random() % size.height);
        picture.Set(x, y, picture.At(x, y) ^ 0x00404040);
    }
    return picture;
}

// A piece of the screen with its most common colour changed, as a hover highlight changes a
// button's face: many pixels differ, and the others are common on the screen.
PixelBuffer Highlighted(const PixelBuffer& screen, PictureSize size, std::mt19937& random) {
    PixelBuffer picture = ThreePixelsAway(screen, size, random);
    std::map<uint32_t, int> counts;
    for (int32_t y = 0; y < size.height; ++y) {
        for (int32_t x = 0; x < size.width; ++x) {
            ++counts[picture.At(x, y)];
        }
    }
    const uint32_t face = std::max_element(counts.begin(), counts.end(), [](auto& a, auto& b) {
                              return a.second < b.second;
                          })->first;
    for (int32_t y = 0; y < size.height; ++y) {
        for (int32_t x = 0; x < size.width; ++x) {
            if (picture.At(x, y) == face) {
                picture.Set(x, y, face ^ 0x00203040);
            }
        }
    }
    return picture;
}

// Random colours: far from every place, the search's worst case.
PixelBuffer FromNowhere(PictureSize size, std::mt19937& random) {
    PixelBuffer picture(size.width, size.height);
    for (int32_t y = 0; y < size.height; ++y) {
        for (int32_t x = 0; x < size.width; ++x) {
            picture.Set(x, y, random() & 0x00FFFFFF);
        }
    }
    return picture;
}

std::string Milliseconds(double seconds) {
    return Fixed(seconds * 1e3, 1) + " ms";
}

}  // namespace

void RunNearestBench(const BenchOptions& options, std::ostream& out) {
    out << "Nearest place (why a target is not found) on 1920 x 1080 screens: a piece of the\n"
           "screen with three pixels changed (near), the same with its commonest colour changed as "
           "a\n"
           "hover highlight does (highlight), and random colours (far); last, random black and "
           "white\n"
           "pixels on both sides (worst: every place differs in about half its pixels).\n"
           "Exact: the exact search for the same picture, which the nearest search runs first.\n\n";
    Table table({"Kind", "Picture", "Case", "Exact", "Nearest", "Differ", "Of"});
    std::mt19937 random(1080);
    for (const ScreenKind kind : kNearestKinds) {
        const PixelBuffer screen = MakeScreen(kind, 1920, 1080);
        for (const PictureSize size : kPictureSizes) {
            const PixelBuffer near = ThreePixelsAway(screen, size, random);
            const PixelBuffer highlighted = Highlighted(screen, size, random);
            const PixelBuffer far = FromNowhere(size, random);
            for (const auto& [name, picture] :
                 {std::pair{"near", &near}, std::pair{"highlight", &highlighted},
                  std::pair{"far", &far}}) {
                std::optional<NearestMatch> match;
                const double exact =
                    MedianSeconds(options.runs, [&] { return FindPicture(screen, *picture); });
                const double nearest = MedianSeconds(
                    options.runs, [&] { match = FindNearestMatch(screen, *picture); });
                table.AddRow({ScreenKindName(kind),
                              std::to_string(size.width) + " x " + std::to_string(size.height),
                              name, Milliseconds(exact), Milliseconds(nearest),
                              match ? std::to_string(match->differingPixels) : "-",
                              match ? std::to_string(match->pixelCount) : "-"});
            }
        }
    }
    // The worst kind of screen: black and white at random, against a picture of the same, so
    // that every place differs in about half its pixels and few places can be left early.
    PixelBuffer twoColours(1920, 1080);
    for (int32_t y = 0; y < twoColours.Height(); ++y) {
        for (int32_t x = 0; x < twoColours.Width(); ++x) {
            twoColours.Set(x, y, (random() & 1) != 0 ? 0x00FFFFFF : 0);
        }
    }
    for (const PictureSize size : kPictureSizes) {
        PixelBuffer picture(size.width, size.height);
        for (int32_t y = 0; y < size.height; ++y) {
            for (int32_t x = 0; x < size.width; ++x) {
                picture.Set(x, y, (random() & 1) != 0 ? 0x00FFFFFF : 0);
            }
        }
        std::optional<NearestMatch> match;
        const double exact =
            MedianSeconds(options.runs, [&] { return FindPicture(twoColours, picture); });
        const double nearest =
            MedianSeconds(options.runs, [&] { match = FindNearestMatch(twoColours, picture); });
        table.AddRow({"black/white",
                      std::to_string(size.width) + " x " + std::to_string(size.height), "worst",
                      Milliseconds(exact), Milliseconds(nearest),
                      match ? std::to_string(match->differingPixels) : "-",
                      match ? std::to_string(match->pixelCount) : "-"});
    }
    table.Print(out);
}
