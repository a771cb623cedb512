// Tests that the pictures committed under res/ are exactly what tarvik-resgen draws today, and
// that each file has the layout and the content the program relies on when it loads them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <set>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "tools/resgen/ResourcePictures.h"

namespace {

using Bytes = std::vector<uint8_t>;

const std::filesystem::path kResFolder = TARVIK_RES_DIR;
const char kRegenerate[] = "run tarvik-resgen on res/ (see res/README.md) and commit the result";

// Every picture file the resource script names, with the image sizes each icon must carry.
const std::map<std::string, std::vector<int>> kIconSizes = {
    {"icons/app.ico", {16, 20, 24, 30, 32, 36, 48}},
    {"icons/select.ico", {16, 20, 24, 30, 32, 36, 48}},
    {"icons/hide.ico", {12, 16, 18, 20, 24, 30, 32, 36, 48}},
    {"icons/fly.ico", {12, 16, 18, 20, 24, 30, 32, 36, 48}},
    {"icons/file.ico", {16, 20, 24, 30, 32, 36, 48}},
    {"icons/help.ico", {16, 20, 24, 30, 32, 36, 48}},
    {"icons/play.ico", {16, 20, 24, 30, 32, 36, 48}},
    {"icons/playing.ico", {16, 20, 24, 30, 32, 36, 48}},
    {"icons/settings.ico", {16, 20, 24, 30, 32, 36, 48}},
    {"icons/play-disabled.ico", {16, 20, 24, 30, 32, 36, 48}},
    {"icons/document.ico", {16, 20, 24, 30, 32, 36, 48}},
};
const std::vector<std::string> kOtherFiles = {"bitmaps/tile-menu.bmp", "bitmaps/title.bmp",
                                              "bitmaps/sight.bmp", "cursors/crosshair.cur"};

Bytes ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot open " + path.string());
    }
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Little-endian fields; reading past the end throws, which fails the test that reads.
uint32_t U8(const Bytes& b, size_t at) {
    return b.at(at);
}
uint32_t U16(const Bytes& b, size_t at) {
    return U8(b, at) | U8(b, at + 1) << 8;
}
uint32_t U32(const Bytes& b, size_t at) {
    return U16(b, at) | U16(b, at + 2) << 16;
}
int32_t I32(const Bytes& b, size_t at) {
    return static_cast<int32_t>(U32(b, at));
}

size_t RowBytes(int width, int bitsPerPixel) {
    return static_cast<size_t>((width * bitsPerPixel + 31) / 32 * 4);
}

struct Rgb {
    int r;
    int g;
    int b;
    bool operator==(const Rgb&) const = default;
};

struct Rgba {
    int r;
    int g;
    int b;
    int a;
};

struct IconImage {
    int size = 0;
    std::vector<Rgba> pixels;  // top row first
    std::vector<bool> mask;    // top row first; set = transparent
};

struct Bitmap {
    int width = 0;
    int height = 0;
    std::vector<Rgb> pixels;  // top row first
    Rgb At(int x, int y) const { return pixels.at(static_cast<size_t>(y * width + x)); }
};

struct Cursor {
    int width = 0;
    int height = 0;
    int hotSpotX = 0;
    int hotSpotY = 0;
    std::vector<Rgb> colours;  // palette colour of each pixel, top row first
    std::vector<bool> mask;    // top row first; set = transparent
};

void Require(bool condition, const std::string& what) {
    if (!condition) {
        throw std::runtime_error(what);
    }
}

// Reads the 40-byte info header at `at` and checks the fields every image here shares.
void CheckInfoHeader(const Bytes& file, size_t at, int width, int height, int bitsPerPixel) {
    Require(U32(file, at) == 40, "info header size is not 40");
    Require(I32(file, at + 4) == width, "info header width");
    Require(I32(file, at + 8) == height, "info header height");
    Require(U16(file, at + 12) == 1, "planes");
    Require(U16(file, at + 14) == static_cast<uint32_t>(bitsPerPixel), "bits per pixel");
    Require(U32(file, at + 16) == 0, "compression is not BI_RGB");
}

// Bottom-up 1-bit rows, most significant bit first.
std::vector<bool> ReadMask(const Bytes& file, size_t at, int width, int height) {
    std::vector<bool> mask(static_cast<size_t>(width * height));
    for (int y = 0; y < height; ++y) {
        const size_t row = at + static_cast<size_t>(height - 1 - y) * RowBytes(width, 1);
        for (int x = 0; x < width; ++x) {
            mask[static_cast<size_t>(y * width + x)] =
                (U8(file, row + static_cast<size_t>(x / 8)) >> (7 - x % 8) & 1) != 0;
        }
    }
    return mask;
}

std::vector<IconImage> ParseIco(const Bytes& file) {
    Require(U16(file, 0) == 0 && U16(file, 2) == 1, "not an icon file");
    const uint32_t count = U16(file, 4);
    std::vector<IconImage> images;
    for (uint32_t i = 0; i < count; ++i) {
        const size_t entry = 6 + 16 * i;
        IconImage image;
        image.size = static_cast<int>(U8(file, entry));
        const int n = image.size;
        Require(n > 0 && U8(file, entry + 1) == U8(file, entry), "icon image is not square");
        Require(U8(file, entry + 2) == 0, "colour count of a 32-bit image is not 0");
        Require(U16(file, entry + 4) == 1 && U16(file, entry + 6) == 32, "entry is not 32-bit");
        const size_t pixelBytes = RowBytes(n, 32) * n;
        const size_t maskBytes = RowBytes(n, 1) * n;
        Require(U32(file, entry + 8) == 40 + pixelBytes + maskBytes, "entry byte count");
        const size_t at = U32(file, entry + 12);
        Require(at + 40 + pixelBytes + maskBytes <= file.size(), "image runs past the file");
        CheckInfoHeader(file, at, n, 2 * n, 32);
        for (int y = 0; y < n; ++y) {
            const size_t row = at + 40 + static_cast<size_t>(n - 1 - y) * RowBytes(n, 32);
            for (int x = 0; x < n; ++x) {
                const size_t px = row + 4 * static_cast<size_t>(x);
                image.pixels.push_back(
                    {static_cast<int>(U8(file, px + 2)), static_cast<int>(U8(file, px + 1)),
                     static_cast<int>(U8(file, px)), static_cast<int>(U8(file, px + 3))});
            }
        }
        image.mask = ReadMask(file, at + 40 + pixelBytes, n, n);
        images.push_back(std::move(image));
    }
    return images;
}

Bitmap ParseBmp24(const Bytes& file) {
    Require(U8(file, 0) == 'B' && U8(file, 1) == 'M', "no BM tag");
    Require(U32(file, 2) == file.size(), "file size field");
    Bitmap bitmap;
    bitmap.width = I32(file, 18);
    bitmap.height = I32(file, 22);
    Require(bitmap.width > 0 && bitmap.height > 0, "not a bottom-up bitmap");
    CheckInfoHeader(file, 14, bitmap.width, bitmap.height, 24);
    const size_t at = U32(file, 10);
    const size_t rowBytes = RowBytes(bitmap.width, 24);
    Require(at + rowBytes * bitmap.height == file.size(), "pixel data size");
    for (int y = 0; y < bitmap.height; ++y) {
        const size_t row = at + static_cast<size_t>(bitmap.height - 1 - y) * rowBytes;
        for (int x = 0; x < bitmap.width; ++x) {
            const size_t px = row + 3 * static_cast<size_t>(x);
            bitmap.pixels.push_back({static_cast<int>(U8(file, px + 2)),
                                     static_cast<int>(U8(file, px + 1)),
                                     static_cast<int>(U8(file, px))});
        }
    }
    return bitmap;
}

Cursor ParseCur(const Bytes& file) {
    Require(U16(file, 0) == 0 && U16(file, 2) == 2 && U16(file, 4) == 1, "not a one-image .cur");
    Cursor cursor;
    cursor.width = static_cast<int>(U8(file, 6));
    cursor.height = static_cast<int>(U8(file, 7));
    Require(U8(file, 8) == 0, "colour count of a 256-colour image is not 0");
    cursor.hotSpotX = static_cast<int>(U16(file, 10));
    cursor.hotSpotY = static_cast<int>(U16(file, 12));
    const size_t at = U32(file, 18);
    Require(at + U32(file, 14) == file.size(), "image size and offset do not fill the file");
    CheckInfoHeader(file, at, cursor.width, 2 * cursor.height, 8);
    const uint32_t paletteSize = U32(file, at + 32) == 0 ? 256 : U32(file, at + 32);
    Require(paletteSize == 256, "not a 256-colour palette");
    const size_t palette = at + 40;
    const size_t pixels = palette + 4 * paletteSize;
    const size_t rowBytes = RowBytes(cursor.width, 8);
    for (int y = 0; y < cursor.height; ++y) {
        const size_t row = pixels + static_cast<size_t>(cursor.height - 1 - y) * rowBytes;
        for (int x = 0; x < cursor.width; ++x) {
            const size_t entry = palette + 4 * U8(file, row + static_cast<size_t>(x));
            cursor.colours.push_back({static_cast<int>(U8(file, entry + 2)),
                                      static_cast<int>(U8(file, entry + 1)),
                                      static_cast<int>(U8(file, entry))});
        }
    }
    const size_t mask = pixels + rowBytes * cursor.height;
    Require(mask + RowBytes(cursor.width, 1) * cursor.height == file.size(), "mask size");
    cursor.mask = ReadMask(file, mask, cursor.width, cursor.height);
    return cursor;
}

// A fresh folder below the system's temporary folder, removed with everything in it.
class TempFolder {
public:
    TempFolder() {
        std::random_device random;
        m_path = std::filesystem::temp_directory_path() /
                 ("tarvik-resgen-test-" + std::to_string(random()));
        std::filesystem::create_directories(m_path);
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::filesystem::path& Path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

std::vector<std::string> AllFileNames() {
    std::vector<std::string> names = kOtherFiles;
    for (const auto& [name, sizes] : kIconSizes) {
        names.push_back(name);
    }
    return names;
}

const IconImage& ImageOfSize(const std::vector<IconImage>& images, int size) {
    const auto found = std::find_if(images.begin(), images.end(),
                                    [size](const IconImage& image) { return image.size == size; });
    Require(found != images.end(), "no image of size " + std::to_string(size));
    return *found;
}

bool IsGrey(Rgba px) {
    return px.r == px.g && px.g == px.b;
}

TEST(ResGenOutput, RegeneratesTheCommittedFilesByteForByte) {
    const TempFolder folder;
    resgen::WriteResourcePictures(folder.Path());
    for (const std::string& name : AllFileNames()) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(std::filesystem::exists(kResFolder / name)) << kRegenerate;
        EXPECT_TRUE(ReadFile(folder.Path() / name) == ReadFile(kResFolder / name))
            << "res/" << name << " is not what the generator draws: " << kRegenerate;
    }
    size_t written = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder.Path())) {
        written += entry.is_regular_file() ? 1 : 0;
    }
    EXPECT_EQ(written, AllFileNames().size()) << "the generator writes files nobody checks";
}

TEST(ResGenOutput, DrawsTheSameBytesEveryTime) {
    const std::vector<resgen::PictureFile> first = resgen::MakeResourcePictures();
    const std::vector<resgen::PictureFile> second = resgen::MakeResourcePictures();
    ASSERT_EQ(first.size(), second.size());
    for (size_t i = 0; i < first.size(); ++i) {
        EXPECT_EQ(first[i].relativePath, second[i].relativePath);
        EXPECT_TRUE(first[i].bytes == second[i].bytes) << first[i].relativePath;
    }
}

TEST(IconFiles, CarryEverySizeAs32BitImagesWhoseMaskFollowsAlpha) {
    for (const auto& [name, sizes] : kIconSizes) {
        SCOPED_TRACE(name);
        const std::vector<IconImage> images = ParseIco(ReadFile(kResFolder / name));
        std::vector<int> found;
        for (const IconImage& image : images) {
            SCOPED_TRACE(image.size);
            found.push_back(image.size);
            size_t opaque = 0;
            size_t clear = 0;
            for (size_t i = 0; i < image.pixels.size(); ++i) {
                const Rgba px = image.pixels[i];
                EXPECT_EQ(image.mask[i], px.a == 0) << "pixel " << i;
                opaque += px.a >= 224 ? 1 : 0;
                clear += px.a == 0 ? 1 : 0;
            }
            // A drawing with solid parts on a see-through ground, not an empty or filled square.
            EXPECT_GE(opaque, static_cast<size_t>(image.size / 2));
            EXPECT_GE(clear, image.pixels.size() / 10);
        }
        EXPECT_EQ(found, sizes);
    }
}

TEST(IconFiles, PlayButtonStatesDifferInColourAt24Pixels) {
    const IconImage play = ImageOfSize(ParseIco(ReadFile(kResFolder / "icons/play.ico")), 24);
    const IconImage playing = ImageOfSize(ParseIco(ReadFile(kResFolder / "icons/playing.ico")), 24);
    const IconImage disabled =
        ImageOfSize(ParseIco(ReadFile(kResFolder / "icons/play-disabled.ico")), 24);
    for (size_t i = 0; i < play.pixels.size(); ++i) {
        const Rgba go = play.pixels[i];
        const Rgba stop = playing.pixels[i];
        const Rgba off = disabled.pixels[i];
        if (go.a == 255) {
            EXPECT_GT(go.g, go.r + 60) << "Play is not green at pixel " << i;
        }
        if (stop.a == 255) {
            EXPECT_GT(stop.r, stop.g + 60) << "Playing is not red at pixel " << i;
        }
        if (off.a != 0) {
            EXPECT_TRUE(IsGrey(off)) << "Play disabled is not grey at pixel " << i;
        }
        // Disabled Play keeps Play's shape, so the button does not jump when it is enabled.
        EXPECT_EQ(off.a, go.a) << "pixel " << i;
    }
}

TEST(SightBitmap, IsCutCleanlyFromItsWhiteGroundAroundTheMarkedPoint) {
    const Bitmap sight = ParseBmp24(ReadFile(kResFolder / "bitmaps/sight.bmp"));
    ASSERT_EQ(sight.width, 64);
    ASSERT_EQ(sight.height, 64);
    const Rgb key = sight.At(0, 0);
    ASSERT_EQ(key, (Rgb{255, 255, 255}));
    // The window region keeps a pixel when some channel is more than 16 away from the key.
    const auto kept = [&](int x, int y) {
        const Rgb px = sight.At(x, y);
        return std::abs(px.r - key.r) > 16 || std::abs(px.g - key.g) > 16 ||
               std::abs(px.b - key.b) > 16;
    };
    size_t yellow = 0;
    size_t dark = 0;
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            const Rgb px = sight.At(x, y);
            if (kept(x, y)) {
                // No pale fringe: what the region keeps is clearly coloured.
                EXPECT_LT(std::min({px.r, px.g, px.b}), 255 - 48) << x << ", " << y;
            }
            yellow += px == Rgb{255, 242, 0} ? 1 : 0;
            dark += std::max({px.r, px.g, px.b}) < 100 ? 1 : 0;
        }
    }
    EXPECT_GT(yellow, 400u);
    EXPECT_GT(dark, 200u);
    // The marked point, pixel (32, 32), shows through; the ring reaches the square's sides.
    EXPECT_FALSE(kept(32, 32));
    EXPECT_TRUE(kept(32, 1) && kept(32, 63) && kept(1, 32) && kept(63, 32));
    // The shape is centred on the marked point: mirroring about column or row 32 keeps it.
    for (int y = 1; y < 64; ++y) {
        for (int x = 1; x < 64; ++x) {
            EXPECT_EQ(kept(x, y), kept(64 - x, y)) << x << ", " << y;
            EXPECT_EQ(kept(x, y), kept(x, 64 - y)) << x << ", " << y;
        }
    }
}

TEST(TitleBitmap, IsTheNameInDarkGreyOnWhite) {
    const Bitmap title = ParseBmp24(ReadFile(kResFolder / "bitmaps/title.bmp"));
    ASSERT_EQ(title.width, 78);
    ASSERT_EQ(title.height, 18);
    int left = title.width;
    int right = -1;
    size_t dark = 0;
    for (int y = 0; y < title.height; ++y) {
        for (int x = 0; x < title.width; ++x) {
            const Rgb px = title.At(x, y);
            if (x == 0 || y == 0 || x == title.width - 1 || y == title.height - 1) {
                // The panel copies the title with AND: its white ground must leave no trace.
                EXPECT_EQ(px, (Rgb{255, 255, 255})) << x << ", " << y;
            }
            EXPECT_LE(std::max({px.r, px.g, px.b}) - std::min({px.r, px.g, px.b}), 16)
                << "not grey at " << x << ", " << y;
            if (std::max({px.r, px.g, px.b}) < 100) {
                ++dark;
                left = std::min(left, x);
                right = std::max(right, x);
            }
        }
    }
    EXPECT_GT(dark, 150u);
    EXPECT_LT(left, 8);
    EXPECT_GT(right, 40);
}

TEST(TileMenuBitmap, IsAGreyFaceWithABlueTrianglePointingDown) {
    const Bitmap badge = ParseBmp24(ReadFile(kResFolder / "bitmaps/tile-menu.bmp"));
    ASSERT_EQ(badge.width, 16);
    ASSERT_EQ(badge.height, 16);
    const Rgb face = badge.At(8, 13);
    EXPECT_TRUE(face.r == face.g && face.g == face.b && face.r >= 200) << "face is not light grey";
    std::vector<int> widths;
    for (int y = 0; y < 16; ++y) {
        int width = 0;
        for (int x = 0; x < 16; ++x) {
            const Rgb px = badge.At(x, y);
            width += px.b > px.r + 80 && px.b > px.g + 40 ? 1 : 0;
        }
        if (width > 0) {
            widths.push_back(width);
        }
    }
    ASSERT_GE(widths.size(), 3u);
    EXPECT_TRUE(std::is_sorted(widths.rbegin(), widths.rend()));
    EXPECT_GT(widths.front(), widths.back());
}

TEST(CrosshairCursor, ShowsOnlyTheRedCrossAroundItsHotSpot) {
    const Cursor cursor = ParseCur(ReadFile(kResFolder / "cursors/crosshair.cur"));
    ASSERT_EQ(cursor.width, 32);
    ASSERT_EQ(cursor.height, 32);
    EXPECT_EQ(cursor.hotSpotX, 16);
    EXPECT_EQ(cursor.hotSpotY, 15);
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const size_t i = static_cast<size_t>(y * 32 + x);
            const bool onCross = (y == 15 && x >= 3 && x <= 28) || (x == 16 && y >= 3 && y <= 28);
            EXPECT_EQ(!cursor.mask[i], onCross) << x << ", " << y;
            // Transparent pixels XOR with black, so the screen under them stays unchanged.
            EXPECT_EQ(cursor.colours[i], onCross ? (Rgb{255, 0, 0}) : (Rgb{0, 0, 0}))
                << x << ", " << y;
        }
    }
}

}  // namespace
