// "tarvik-cli find" end to end through RunCli: the click a play step would make on BMP and PNG
// screens, every target's own result, timing, and the errors.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "engine/PixelBuffer.h"
#include "model/BmpImage.h"
#include "model/Picture.h"
#include "model/TargetListFile.h"
#include "tests/cli/CliTestUtil.h"
#include "tests/core/ModelTestUtil.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

void Paste(PixelBuffer& screen, const PixelBuffer& picture, int32_t left, int32_t top) {
    for (int32_t y = 0; y < picture.Height(); ++y) {
        for (int32_t x = 0; x < picture.Width(); ++x) {
            screen.Set(left + x, top + y, picture.At(x, y));
        }
    }
}

// --- A minimal PNG writer: zlib stream of stored (uncompressed) deflate blocks.

void PutBigEndian(Bytes& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<uint8_t>(value >> shift));
    }
}

uint32_t Crc32(const uint8_t* data, size_t size) {
    uint32_t crc = 0xFFFFFFFF;
    for (size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
        }
    }
    return ~crc;
}

void PutChunk(Bytes& png, const char* type, const Bytes& data) {
    PutBigEndian(png, static_cast<uint32_t>(data.size()));
    Bytes body(type, type + 4);
    body.insert(body.end(), data.begin(), data.end());
    png.insert(png.end(), body.begin(), body.end());
    PutBigEndian(png, Crc32(body.data(), body.size()));
}

// RGB (3 channels) or RGBA (4, with a varying alpha that must not matter).
Bytes EncodePng(const PixelBuffer& pixels, int channels) {
    Bytes raw;
    for (int32_t y = 0; y < pixels.Height(); ++y) {
        raw.push_back(0);  // filter: none
        for (int32_t x = 0; x < pixels.Width(); ++x) {
            const uint32_t pixel = pixels.At(x, y);
            raw.push_back(static_cast<uint8_t>(pixel >> 16));
            raw.push_back(static_cast<uint8_t>(pixel >> 8));
            raw.push_back(static_cast<uint8_t>(pixel));
            if (channels == 4) {
                raw.push_back(static_cast<uint8_t>(x * 7 + y));
            }
        }
    }
    Bytes zlib = {0x78, 0x01};
    for (size_t at = 0; at < raw.size() || at == 0; at += 65535) {
        const size_t length = std::min<size_t>(65535, raw.size() - at);
        zlib.push_back(at + length == raw.size() ? 1 : 0);
        zlib.push_back(static_cast<uint8_t>(length));
        zlib.push_back(static_cast<uint8_t>(length >> 8));
        zlib.push_back(static_cast<uint8_t>(~length));
        zlib.push_back(static_cast<uint8_t>(~length >> 8));
        zlib.insert(zlib.end(), raw.begin() + static_cast<ptrdiff_t>(at),
                    raw.begin() + static_cast<ptrdiff_t>(at + length));
    }
    uint32_t a = 1;
    uint32_t b = 0;
    for (const uint8_t byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    PutBigEndian(zlib, (b << 16) | a);
    Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Bytes header;
    PutBigEndian(header, static_cast<uint32_t>(pixels.Width()));
    PutBigEndian(header, static_cast<uint32_t>(pixels.Height()));
    header.insert(header.end(), {8, static_cast<uint8_t>(channels == 4 ? 6 : 2), 0, 0, 0});
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", zlib);
    PutChunk(png, "IEND", {});
    return png;
}

class FindCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::random_device seed;
        m_folder = fs::temp_directory_path() / ("tarvik-find-test-" + std::to_string(seed()));
        fs::create_directories(m_folder);
        // Orders 0, 1, 2 in list order 2, 0, 1; targets 1 and 2 are on the screen, 0 is not.
        m_screen = RandomPicture(120, 90, 1);
        const PixelBuffer first = RandomPicture(6, 4, 2);
        const PixelBuffer second = RandomPicture(5, 5, 3);
        const PixelBuffer third = RandomPicture(4, 4, 4);
        Paste(m_screen, second, 100, 30);
        Paste(m_screen, third, 10, 80);
        CTargetObjList list;
        list.AddTail(MakeTarget(2, u"third", third, {0, 0}));
        list.AddTail(MakeTarget(0, u"first", first, {0, 0}));
        list.AddTail(MakeTarget(1, u"second", second, {-10, 7}));
        m_list = m_folder / "list.trvk";
        SaveTargetListFile(list, m_list);
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(m_folder, ignored);
    }

    static std::unique_ptr<CTargetObj> MakeTarget(int32_t order, const std::u16string& name,
                                                  const PixelBuffer& picture, Point shift) {
        auto target = std::make_unique<CTargetObj>();
        target->m_nOrder = order;
        target->m_strName = name;
        target->m_bmpTarget = CPicture(picture);
        target->m_ptClickShift = shift;
        return target;
    }

    fs::path Write(const char* name, const Bytes& bytes) {
        WriteBytes(m_folder / name, bytes);
        return m_folder / name;
    }

    fs::path m_folder;
    fs::path m_list;
    PixelBuffer m_screen;
};

const char* const kClickOnSecond =
    "Clicks order 1 \"second\"\n"
    "  Found at:    left 100, top 30 (5 x 5)\n"
    "  Centre:      x 102, y 33\n"
    "  Click point: x 92, y 40\n";

}  // namespace

TEST_F(FindCommandTest, PrintsTheClickOfAPlayStepOnBmpAndPngScreens) {
    for (const fs::path& screen :
         {Write("screen.bmp", EncodeBmp(m_screen)), Write("rgb.png", EncodePng(m_screen, 3)),
          Write("rgba.png", EncodePng(m_screen, 4))}) {
        const CliResult result = RunTool({"find", m_list, screen});
        EXPECT_EQ(result.status, kExitSuccess) << screen << result.err;
        EXPECT_EQ(result.out,
                  std::string("Screen: 120 x 90; 3 targets, 3 searched by a play step\n") +
                      kClickOnSecond)
            << screen;
        EXPECT_EQ(result.err, "");
    }
}

TEST_F(FindCommandTest, NotFoundExitsWithThree) {
    const fs::path screen = Write("empty.bmp", EncodeBmp(RandomPicture(120, 90, 9)));
    const CliResult result = RunTool({"find", m_list, screen});
    EXPECT_EQ(result.status, kExitFailure);
    EXPECT_EQ(result.out,
              "Screen: 120 x 90; 3 targets, 3 searched by a play step\n"
              "Not found: a play step would click nothing\n");
}

TEST_F(FindCommandTest, AllShowsEveryTargetAndRepeatTimesTheSearch) {
    const fs::path screen = Write("screen.bmp", EncodeBmp(m_screen));
    const CliResult result = RunTool({"find", "--repeat", "3", m_list, screen, "--all"});
    ASSERT_EQ(result.status, kExitSuccess) << result.err;
    const std::string expectedStart =
        "Screen: 120 x 90; 3 targets, 3 searched by a play step\n"
        "Every target on its own, in display order:\n"
        "  order 0 \"first\": not found\n"
        "  order 1 \"second\": found at left 100, top 30; centre x 102, y 33; click x 92, y 40\n"
        "  order 2 \"third\": found at left 10, top 80; centre x 12, y 82; click x 12, y 82\n"
        "Search time: ";
    EXPECT_EQ(result.out.substr(0, expectedStart.size()), expectedStart);
    EXPECT_NE(result.out.find(" ms (median of 3 runs, "), std::string::npos);
    EXPECT_EQ(result.out.substr(result.out.size() - std::string(kClickOnSecond).size()),
              kClickOnSecond);
}

TEST_F(FindCommandTest, OriginMakesEveryPrintedPointADesktopPoint) {
    PixelBuffer screen = m_screen;
    // Order 0 comes near at (50, 60) with one pixel off, so --explain names a nearest place.
    PixelBuffer nearly = RandomPicture(6, 4, 2);
    nearly.Set(3, 1, nearly.At(3, 1) ^ 0x20);
    Paste(screen, nearly, 50, 60);
    const fs::path path = Write("screen.bmp", EncodeBmp(screen));
    struct Case {
        const char* origin;
        const char* expected;
    };
    const Case cases[] = {
        {"-1024,-300",
         "Screen: 120 x 90 at desktop x -1024, y -300; 3 targets, 3 searched by a play step\n"
         "Every target on its own, in display order:\n"
         "  order 0 \"first\": not found; nearest at left -974, top -240: 1 of 24 pixels differ, "
         "largest channel difference 32\n"
         "  order 1 \"second\": found at left -924, top -270; centre x -922, y -267; click x "
         "-932, y -260\n"
         "  order 2 \"third\": found at left -1014, top -220; centre x -1012, y -218; click x "
         "-1012, y -218\n"
         "Clicks order 1 \"second\"\n"
         "  Found at:    left -924, top -270 (5 x 5)\n"
         "  Centre:      x -922, y -267\n"
         "  Click point: x -932, y -260\n"},
        {"1920,0",
         "Screen: 120 x 90 at desktop x 1920, y 0; 3 targets, 3 searched by a play step\n"
         "Every target on its own, in display order:\n"
         "  order 0 \"first\": not found; nearest at left 1970, top 60: 1 of 24 pixels differ, "
         "largest channel difference 32\n"
         "  order 1 \"second\": found at left 2020, top 30; centre x 2022, y 33; click x 2012, "
         "y 40\n"
         "  order 2 \"third\": found at left 1930, top 80; centre x 1932, y 82; click x 1932, "
         "y 82\n"
         "Clicks order 1 \"second\"\n"
         "  Found at:    left 2020, top 30 (5 x 5)\n"
         "  Centre:      x 2022, y 33\n"
         "  Click point: x 2012, y 40\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.origin);
        const CliResult result = RunTool({"find", m_list, "--origin", c.origin, path, "--explain"});
        EXPECT_EQ(result.status, kExitSuccess) << result.err;
        EXPECT_EQ(result.out, c.expected);
    }
}

// The blue byte of `pixel` moved by `delta`, down when up would leave 0 … 255.
uint32_t MoveBlue(uint32_t pixel, int32_t delta) {
    const int32_t blue = static_cast<int32_t>(pixel & 0xFF);
    return (pixel & 0xFFFFFF00) |
           static_cast<uint32_t>(blue + delta <= 255 ? blue + delta : blue - delta);
}

TEST_F(FindCommandTest, ExplainSaysWhereATargetNotFoundComesNearest) {
    const PixelBuffer first = RandomPicture(6, 4, 2);  // order 0, as the list holds it
    struct Case {
        const char* name;
        std::vector<Point> changed;  // pixels of the pasted picture moved by 40, 20, 10 …
        const char* firstLine;
        int status;
    };
    const Case cases[] = {
        {"shown as it is",
         {},
         "  order 0 \"first\": found at left 50, top 60; centre x 53, y 62; click x 53, y 62\n",
         kExitSuccess},
        {"two pixels off, one in the top row",
         {{5, 0}, {2, 3}},
         "  order 0 \"first\": not found; nearest at left 50, top 60: 2 of 24 pixels differ, "
         "largest channel difference 40\n",
         kExitSuccess},
        {"three pixels off",
         {{0, 0}, {1, 1}, {5, 3}},
         "  order 0 \"first\": not found; nearest at left 50, top 60: 3 of 24 pixels differ, "
         "largest channel difference 40\n",
         kExitSuccess},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        PixelBuffer screen = m_screen;
        Paste(screen, first, 50, 60);
        int32_t delta = 40;
        for (const Point pixel : test.changed) {
            screen.Set(50 + pixel.x, 60 + pixel.y,
                       MoveBlue(screen.At(50 + pixel.x, 60 + pixel.y), delta));
            delta /= 2;
        }
        const CliResult result =
            RunTool({"find", m_list, Write("screen.bmp", EncodeBmp(screen)), "--explain"});
        EXPECT_EQ(result.status, test.status) << result.err;
        const std::string expected =
            std::string(
                "Screen: 120 x 90; 3 targets, 3 searched by a play step\n"
                "Every target on its own, in display order:\n") +
            test.firstLine +
            "  order 1 \"second\": found at left 100, top 30; centre x 102, y 33; click x 92, y "
            "40\n"
            "  order 2 \"third\": found at left 10, top 80; centre x 12, y 82; click x 12, y 82\n" +
            (test.changed.empty() ? "Clicks order 0 \"first\"\n"
                                    "  Found at:    left 50, top 60 (6 x 4)\n"
                                    "  Centre:      x 53, y 62\n"
                                    "  Click point: x 53, y 62\n"
                                  : kClickOnSecond);
        EXPECT_EQ(result.out, expected);
    }
    // A screen lower than every picture: no place to come near, and nothing is clicked.
    const CliResult tiny = RunTool(
        {"find", m_list, Write("tiny.bmp", EncodeBmp(RandomPicture(200, 3, 5))), "--explain"});
    EXPECT_EQ(tiny.status, kExitFailure);
    EXPECT_EQ(tiny.out,
              "Screen: 200 x 3; 3 targets, 3 searched by a play step\n"
              "Every target on its own, in display order:\n"
              "  order 0 \"first\": picture larger than the screen\n"
              "  order 1 \"second\": picture larger than the screen\n"
              "  order 2 \"third\": picture larger than the screen\n"
              "Not found: a play step would click nothing\n");
}

TEST_F(FindCommandTest, ArgumentAndFileErrors) {
    const fs::path screen = Write("screen.bmp", EncodeBmp(m_screen));
    for (const std::vector<fs::path>& args : std::vector<std::vector<fs::path>>{
             {"find", m_list},
             {"find", m_list, screen, screen},
             {"find", m_list, screen, "--repeat"},
             {"find", m_list, screen, "--repeat", "0"},
             {"find", m_list, screen, "--repeat", "2x"},
             {"find", m_list, screen, "--fast"},
             {"find", m_list, screen, "--origin"},
             {"find", m_list, screen, "--origin", "5"},
             {"find", m_list, screen, "--origin", "1,2,3"},
             {"find", m_list, screen, "--origin", "x,1"},
             {"find", m_list, screen, "--origin", "1, 2"},
             {"find", m_list, screen, "--origin", ",2"},
             {"find", m_list, screen, "--origin", "+1,2"},
             {"find", m_list, screen, "--origin", "2147483648,0"},
         }) {
        const CliResult result = RunTool(args);
        EXPECT_EQ(result.status, kExitUsage) << result.err;
        EXPECT_NE(result.err.find("Usage: tarvik-cli"), std::string::npos);
    }
    EXPECT_EQ(
        RunTool({"find", m_list, screen, "--origin", "-5;7"})
            .err.rfind(
                "tarvik-cli: --origin takes the desktop point of the screen picture's top-left "
                "as X,Y, e.g. -1024,-300 (got \"-5;7\")\n",
                0),
        0u);
    const fs::path text = Write("notes.png", {'n', 'o', 't', 'e', 's'});
    const CliResult garbage = RunTool({"find", m_list, text});
    EXPECT_EQ(garbage.status, kExitFileError);
    EXPECT_EQ(garbage.err.rfind("tarvik-cli: " + text.string() + ": ", 0), 0u) << garbage.err;
    const Bytes png = EncodePng(m_screen, 3);
    const CliResult truncated =
        RunTool({"find", m_list, Write("cut.png", Bytes(png.begin(), png.begin() + 60))});
    EXPECT_EQ(truncated.status, kExitFileError);
    EXPECT_EQ(RunTool({"find", m_list, m_folder / "missing.bmp"}).status, kExitFileError);
    EXPECT_EQ(RunTool({"find", m_folder / "missing.trvk", screen}).status, kExitFileError);
}
