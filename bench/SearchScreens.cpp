// Drawing the bench screens: photo-like noise, a desktop with windows and anti-aliased text,
// a uniform screen and stripes; and cutting pictures that are one pixel away from them.
#include "bench/SearchScreens.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <random>
#include <stdexcept>

#include "engine/PictureSearch.h"

namespace {

constexpr uint32_t kWhite = 0x00FFFFFF;

// std::mt19937 gives the same numbers with every standard library, so the screens are the same
// everywhere; the distributions of <random> do not, hence the modulo.
class CRandom {
public:
    explicit CRandom(uint32_t seed) : m_engine(seed) {}
    uint32_t Next() { return m_engine(); }
    int32_t Below(int32_t bound) {
        return static_cast<int32_t>(m_engine() % static_cast<uint32_t>(bound));
    }
    int32_t Between(int32_t low, int32_t high) { return low + Below(high - low + 1); }

private:
    std::mt19937 m_engine;
};

uint8_t Channel(uint32_t colour, int shift) {
    return static_cast<uint8_t>((colour >> shift) & 0xFF);
}

// `foreground` over `background` with coverage alpha (0 ... 255), rounded per channel.
uint32_t Blend(uint32_t background, uint32_t foreground, int alpha) {
    uint32_t result = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const int value = (Channel(background, shift) * (255 - alpha) +
                           Channel(foreground, shift) * alpha + 127) /
                          255;
        result |= static_cast<uint32_t>(value) << shift;
    }
    return result;
}

void FillRect(PixelBuffer& screen, int32_t left, int32_t top, int32_t right, int32_t bottom,
              uint32_t colour) {
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, screen.Width());
    bottom = std::min(bottom, screen.Height());
    for (int32_t y = top; y < bottom; ++y) {
        std::fill(screen.Row(y) + left, screen.Row(y) + std::max(left, right), colour);
    }
}

void FrameRect(PixelBuffer& screen, int32_t left, int32_t top, int32_t right, int32_t bottom,
               uint32_t colour) {
    FillRect(screen, left, top, right, top + 1, colour);
    FillRect(screen, left, bottom - 1, right, bottom, colour);
    FillRect(screen, left, top, left + 1, bottom, colour);
    FillRect(screen, right - 1, top, right, bottom, colour);
}

void BlendPixel(PixelBuffer& screen, int32_t x, int32_t y, uint32_t colour, int alpha) {
    if (alpha > 0 && x >= 0 && y >= 0 && x < screen.Width() && y < screen.Height()) {
        screen.Set(x, y, Blend(screen.At(x, y), colour, alpha));
    }
}

// --- Text: a fixed set of glyphs drawn from strokes at 3 x 3 supersampling, so their edges
// carry the grey levels of anti-aliased screen text.

constexpr int32_t kGlyphWidth = 7;
constexpr int32_t kGlyphHeight = 12;
constexpr int32_t kSuper = 3;
constexpr int kGlyphCount = 64;

using Glyph = std::array<uint8_t, kGlyphWidth * kGlyphHeight>;  // coverage 0 ... 255

double SegmentDistance(double px, double py, double ax, double ay, double bx, double by) {
    const double dx = bx - ax;
    const double dy = by - ay;
    const double length = dx * dx + dy * dy;
    const double t =
        length == 0 ? 0 : std::clamp(((px - ax) * dx + (py - ay) * dy) / length, 0.0, 1.0);
    return std::hypot(px - (ax + t * dx), py - (ay + t * dy));
}

const std::vector<Glyph>& Glyphs() {
    static const std::vector<Glyph> glyphs = [] {
        CRandom random(7);
        std::vector<Glyph> made;
        for (int index = 0; index < kGlyphCount; ++index) {
            // Stroke ends on a lattice inside the cell, in supersampled units; x-height letters
            // and letters with ascenders.
            const bool tall = random.Below(3) == 0;
            const auto point = [&](int32_t& x, int32_t& y) {
                x = 3 + random.Below(4) * 4;
                y = (tall ? 3 : 12) + random.Below(tall ? 6 : 4) * 5;
            };
            struct Stroke {
                int32_t ax, ay, bx, by;
            };
            std::vector<Stroke> strokes(static_cast<size_t>(2 + random.Below(3)));
            for (Stroke& stroke : strokes) {
                point(stroke.ax, stroke.ay);
                point(stroke.bx, stroke.by);
            }
            Glyph glyph{};
            for (int32_t y = 0; y < kGlyphHeight; ++y) {
                for (int32_t x = 0; x < kGlyphWidth; ++x) {
                    int covered = 0;
                    for (int32_t sy = 0; sy < kSuper; ++sy) {
                        for (int32_t sx = 0; sx < kSuper; ++sx) {
                            const double px = x * kSuper + sx + 0.5;
                            const double py = y * kSuper + sy + 0.5;
                            for (const Stroke& s : strokes) {
                                if (SegmentDistance(px, py, s.ax, s.ay, s.bx, s.by) <= 1.6) {
                                    ++covered;
                                    break;
                                }
                            }
                        }
                    }
                    glyph[static_cast<size_t>(y * kGlyphWidth + x)] =
                        static_cast<uint8_t>(covered * 255 / (kSuper * kSuper));
                }
            }
            made.push_back(glyph);
        }
        return made;
    }();
    return glyphs;
}

// Words of random glyphs from (left, top) up to `right`; returns the x after the last word.
int32_t DrawText(PixelBuffer& screen, int32_t left, int32_t top, int32_t right, uint32_t colour,
                 CRandom& random, int words) {
    int32_t x = left;
    for (int word = 0; word < words; ++word) {
        const int32_t letters = random.Between(2, 9);
        if (x + letters * kGlyphWidth > right) {
            break;
        }
        for (int32_t letter = 0; letter < letters; ++letter, x += kGlyphWidth) {
            const Glyph& glyph = Glyphs()[static_cast<size_t>(random.Below(kGlyphCount))];
            for (int32_t y = 0; y < kGlyphHeight; ++y) {
                for (int32_t gx = 0; gx < kGlyphWidth; ++gx) {
                    BlendPixel(screen, x + gx, top + y, colour,
                               glyph[static_cast<size_t>(y * kGlyphWidth + gx)]);
                }
            }
        }
        x += 5;
    }
    return x;
}

// An icon: a round or square badge with a vertical gradient and an anti-aliased edge, and a
// lighter symbol inside.
void DrawIcon(PixelBuffer& screen, int32_t left, int32_t top, int32_t size, CRandom& random) {
    const uint32_t hue = MakeBgr0(static_cast<uint8_t>(random.Between(30, 230)),
                                  static_cast<uint8_t>(random.Between(30, 230)),
                                  static_cast<uint8_t>(random.Between(30, 230)));
    const bool round = random.Below(2) == 0;
    const double radius = size / 2.0;
    for (int32_t y = 0; y < size; ++y) {
        const uint32_t shade = Blend(hue, kWhite, 90 - y * 90 / size);
        for (int32_t x = 0; x < size; ++x) {
            int covered = 0;
            for (int sy = 0; sy < 4; ++sy) {
                for (int sx = 0; sx < 4; ++sx) {
                    const double px = x + (sx + 0.5) / 4 - radius;
                    const double py = y + (sy + 0.5) / 4 - radius;
                    const bool inside = round ? px * px + py * py <= radius * radius
                                              : std::max(std::abs(px), std::abs(py)) <= radius - 1;
                    covered += inside ? 1 : 0;
                }
            }
            BlendPixel(screen, left + x, top + y, shade, covered * 255 / 16);
        }
    }
    const int32_t inset = size / 4;
    FillRect(screen, left + inset, top + size / 2 - 1, left + size - inset, top + size / 2 + 1,
             Blend(hue, kWhite, 200));
    FillRect(screen, left + size / 2 - 1, top + inset, left + size / 2 + 1, top + size - inset,
             Blend(hue, kWhite, 200));
}

void DrawButton(PixelBuffer& screen, int32_t left, int32_t top, int32_t width, CRandom& random) {
    FillRect(screen, left, top, left + width, top + 26, 0x00E1E1E1);
    FrameRect(screen, left, top, left + width, top + 26, 0x00ADADAD);
    DrawText(screen, left + 8, top + 7, left + width - 6, 0x00000000, random, 2);
}

void DrawWindow(PixelBuffer& screen, int32_t left, int32_t top, int32_t right, int32_t bottom,
                bool active, CRandom& random) {
    FillRect(screen, left, top, right, bottom, kWhite);
    const uint32_t titleColour = active ? 0x00FFFFFF : 0x00F3F3F3;
    FillRect(screen, left, top, right, top + 31, titleColour);
    DrawIcon(screen, left + 8, top + 7, 16, random);
    DrawText(screen, left + 32, top + 10, right - 140, 0x001A1A1A, random, 4);
    for (int button = 0; button < 3; ++button) {  // minimise, maximise, close
        const int32_t x = right - 46 * (button + 1) + 18;
        FillRect(screen, x, top + 15, x + 10, top + 16, 0x00303030);
    }
    // Toolbar with buttons and small icons.
    FillRect(screen, left, top + 31, right, top + 71, 0x00F0F0F0);
    int32_t x = left + 8;
    for (int item = 0; x + 100 < right; ++item) {
        if (item % 3 == 2) {
            DrawIcon(screen, x, top + 43, 16, random);
            x += 28;
        } else {
            const int32_t width = random.Between(60, 96);
            DrawButton(screen, x, top + 38, width, random);
            x += width + 8;
        }
    }
    // Sidebar of icons and labels in grey, then the page: paragraphs of text.
    const int32_t side = left + (right - left) / 5;
    FillRect(screen, left, top + 71, side, bottom - 22, 0x00F5F5F5);
    for (int32_t y = top + 80; y + 20 < bottom - 22; y += 24) {
        DrawIcon(screen, left + 10, y, 16, random);
        DrawText(screen, left + 32, y + 2, side - 6, 0x00202020, random, 2);
    }
    for (int32_t y = top + 84; y + kGlyphHeight < bottom - 30;) {
        const int lines = random.Between(2, 6);
        for (int line = 0; line < lines && y + kGlyphHeight < bottom - 30; ++line, y += 18) {
            DrawText(screen, side + 16, y, right - 16 - random.Below(200), 0x00000000, random, 30);
        }
        y += 14;
        if (random.Below(4) == 0 && y + 120 < bottom - 30) {  // an inline picture
            DrawIcon(screen, side + 16, y, 96, random);
            y += 110;
        }
    }
    FillRect(screen, left, bottom - 22, right, bottom, 0x00F0F0F0);
    DrawText(screen, left + 8, bottom - 17, right - 8, 0x00404040, random, 5);
    FrameRect(screen, left, top, right, bottom, active ? 0x00707070 : 0x00A0A0A0);
}

PixelBuffer Desktop(int32_t width, int32_t height) {
    PixelBuffer screen(width, height);
    CRandom random(2024);
    for (int32_t y = 0; y < height; ++y) {
        const int shade = y * 255 / height;
        FillRect(
            screen, 0, y, width, y + 1,
            MakeBgr0(static_cast<uint8_t>(20 + shade / 6), static_cast<uint8_t>(60 + shade / 4),
                     static_cast<uint8_t>(110 + shade / 3)));
    }
    for (int32_t y = 16; y + 90 < height - 48; y += 96) {  // desktop icons with white labels
        DrawIcon(screen, 24, y, 48, random);
        DrawText(screen, 12, y + 60, 90, kWhite, random, 2);
    }
    const auto at = [](int32_t size, double fraction) {
        return static_cast<int32_t>(size * fraction);
    };
    const double windows[][4] = {{0.08, 0.30, 0.50, 0.93},
                                 {0.55, 0.45, 0.99, 0.92},
                                 {0.12, 0.02, 0.62, 0.55},
                                 {0.45, 0.06, 0.97, 0.50}};
    for (size_t index = 0; index < std::size(windows); ++index) {
        const double* w = windows[index];
        DrawWindow(screen, at(width, w[0]), at(height, w[1]), at(width, w[2]), at(height, w[3]),
                   index + 1 == std::size(windows), random);
    }
    FillRect(screen, 0, height - 48, width, height, 0x001F1F1F);  // taskbar
    for (int32_t x = 12; x + 40 < width / 2; x += 56) {
        DrawIcon(screen, x, height - 40, 32, random);
    }
    DrawText(screen, width - 90, height - 30, width - 8, kWhite, random, 2);
    return screen;
}

// Smooth colour waves, as in a photograph's large shapes, with grain on every pixel.
PixelBuffer PhotoNoise(int32_t width, int32_t height) {
    PixelBuffer screen(width, height);
    std::vector<std::array<double, 3>> across(static_cast<size_t>(width));
    std::vector<std::array<double, 3>> down(static_cast<size_t>(height));
    for (int32_t x = 0; x < width; ++x) {
        for (int c = 0; c < 3; ++c) {
            across[static_cast<size_t>(x)][static_cast<size_t>(c)] =
                55 * std::sin(x * (0.004 + 0.003 * c) + c) + 25 * std::sin(x * 0.031 + 2 * c);
        }
    }
    for (int32_t y = 0; y < height; ++y) {
        for (int c = 0; c < 3; ++c) {
            down[static_cast<size_t>(y)][static_cast<size_t>(c)] =
                45 * std::sin(y * (0.006 + 0.002 * c) + 3 * c) + 20 * std::sin(y * 0.047 + c);
        }
    }
    CRandom random(99);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            const uint32_t grain = random.Next();
            uint32_t pixel = 0;
            for (int c = 0; c < 3; ++c) {
                const double value = 128 + across[static_cast<size_t>(x)][static_cast<size_t>(c)] +
                                     down[static_cast<size_t>(y)][static_cast<size_t>(c)] +
                                     static_cast<int>((grain >> (8 * c)) & 31) - 16;
                pixel |= static_cast<uint32_t>(std::clamp(static_cast<int>(value), 0, 255))
                         << (8 * c);
            }
            screen.Set(x, y, pixel);
        }
    }
    return screen;
}

PixelBuffer Cut(const PixelBuffer& screen, int32_t left, int32_t top, int32_t width,
                int32_t height) {
    PixelBuffer picture(width, height);
    for (int32_t y = 0; y < height; ++y) {
        std::copy(screen.Row(top + y) + left, screen.Row(top + y) + left + width, picture.Row(y));
    }
    return picture;
}

int DistinctColours(const PixelBuffer& picture) {
    std::vector<uint32_t> colours(picture.Data(), picture.Data() + picture.SizeInBytes() / 4);
    std::sort(colours.begin(), colours.end());
    return static_cast<int>(std::unique(colours.begin(), colours.end()) - colours.begin());
}

bool RowIs(const PixelBuffer& picture, int32_t y, uint32_t colour) {
    return std::all_of(picture.Row(y), picture.Row(y) + picture.Width(),
                       [&](uint32_t pixel) { return pixel == colour; });
}

uint32_t CommonestColour(const PixelBuffer& screen) {
    std::vector<uint32_t> colours;
    for (int32_t y = 0; y < screen.Height(); y += 7) {
        for (int32_t x = 0; x < screen.Width(); x += 5) {
            colours.push_back(screen.At(x, y));
        }
    }
    std::sort(colours.begin(), colours.end());
    uint32_t commonest = 0;
    size_t most = 0;
    for (size_t i = 0; i < colours.size();) {
        size_t j = i;
        while (j < colours.size() && colours[j] == colours[i]) {
            ++j;
        }
        if (j - i > most) {
            most = j - i;
            commonest = colours[i];
        }
        i = j;
    }
    return commonest;
}

// Changes one pixel in the top rows so that the picture is no longer a piece of the screen, to
// a colour the picture already has where possible.
void ChangePixelNearTop(ScreenKind kind, PixelBuffer& picture, CRandom& random) {
    const int32_t x = random.Below(picture.Width());
    const int32_t y = std::min(picture.Height() - 1, 1 + random.Below(2));
    const uint32_t old = picture.At(x, y);
    uint32_t colour = old ^ kWhite;
    if (kind != ScreenKind::Stripes) {
        for (int attempt = 0; attempt < 64 && colour == (old ^ kWhite); ++attempt) {
            const uint32_t other =
                picture.At(random.Below(picture.Width()), random.Below(picture.Height()));
            if (other != old) {
                colour = other;
            }
        }
    }
    picture.Set(x, y, colour);
}

}  // namespace

const char* ScreenKindName(ScreenKind kind) {
    switch (kind) {
        case ScreenKind::Noise:
            return "noise";
        case ScreenKind::Desktop:
            return "desktop";
        case ScreenKind::Uniform:
            return "uniform";
        case ScreenKind::Stripes:
            return "stripes";
    }
    return "?";
}

PixelBuffer MakeScreen(ScreenKind kind, int32_t width, int32_t height) {
    switch (kind) {
        case ScreenKind::Noise:
            return PhotoNoise(width, height);
        case ScreenKind::Desktop:
            return Desktop(width, height);
        case ScreenKind::Uniform: {
            PixelBuffer screen(width, height);
            FillRect(screen, 0, 0, width, height, kWhite);
            return screen;
        }
        case ScreenKind::Stripes: {
            PixelBuffer screen(width, height);
            for (int32_t y = 0; y < height; ++y) {
                for (int32_t x = 0; x < width; ++x) {
                    screen.Set(x, y, (x & 1) != 0 ? kWhite : 0);
                }
            }
            return screen;
        }
    }
    return {};
}

std::vector<PixelBuffer> MakeAbsentPictures(ScreenKind kind, const PixelBuffer& screen, int count,
                                            int32_t width, int32_t height) {
    CRandom random(static_cast<uint32_t>(kind) * 7919 + static_cast<uint32_t>(screen.Width()));
    std::vector<PixelBuffer> pictures;
    for (int index = 0; index < count; ++index) {
        PixelBuffer picture;
        for (int attempt = 0;; ++attempt) {
            if (attempt == 100) {
                throw std::runtime_error("bench: cannot make a picture absent from the screen");
            }
            if (kind == ScreenKind::Uniform) {
                picture = Cut(screen, 0, 0, width, height);
                picture.Set(random.Below(width), std::min(height - 1, 1 + index % 3),
                            kWhite - 1 - static_cast<uint32_t>(index));
            } else {
                // The first picture: like a captured label or button, some content with the
                // commonest colour of the screen around it, in its bottom-left corner and along
                // its bottom rows; the plain scan's pre-test and first rows then pass at most
                // places of that colour. Among such places near the top, the busiest.
                int32_t left = random.Below(screen.Width() - width + 1);
                int32_t top = random.Below(screen.Height() - height + 1);
                if (index == 0) {
                    const uint32_t commonest = CommonestColour(screen);
                    int best = -1;
                    for (int place = 0; place < 2000; ++place) {
                        const int32_t x = random.Below(screen.Width() - width + 1);
                        const int32_t y =
                            random.Between(8, std::min(screen.Height() - height, 160));
                        const PixelBuffer piece = Cut(screen, x, y, width, height);
                        int blankRows = 0;
                        while (blankRows < 4 && RowIs(piece, height - 1 - blankRows, commonest)) {
                            ++blankRows;
                        }
                        const int score = blankRows * 100 + std::min(DistinctColours(piece), 60);
                        if (score > best) {
                            best = score;
                            left = x;
                            top = y;
                        }
                    }
                }
                picture = Cut(screen, left, top, width, height);
                ChangePixelNearTop(kind, picture, random);
            }
            if (!FindPicture(screen, picture)) {
                break;
            }
        }
        pictures.push_back(std::move(picture));
    }
    return pictures;
}
