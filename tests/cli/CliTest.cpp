// End-to-end tests of tarvik-cli through RunCli: info text, exported files, resaving and errors.
#include "tools/cli/RunCli.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "engine/PixelBuffer.h"
#include "model/BmpImage.h"
#include "model/Picture.h"
#include "model/PictureString.h"
#include "model/TargetListFile.h"
#include "tests/cli/CliTestUtil.h"
#include "tests/core/ModelTestUtil.h"
#include "tools/cli/CliText.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

std::string Utf8(const char8_t* text) {
    return reinterpret_cast<const char*>(text);
}

// A 2 x 2 picture stored as a 24-bit BMP image: rows of 6 bytes padded to 8, bottom-up.
Bytes TwentyFourBitBmp() {
    Bytes image = {'B', 'M', 70, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,  // file header
                   40,  0,   0,  0, 2, 0, 0, 0, 2, 0, 0,  0, 1, 0, 24, 0, 0, 0, 0, 0,
                   16,  0,   0,  0, 0, 0, 0, 0, 0, 0, 0,  0, 0, 0, 0,  0, 0, 0, 0, 0};
    const Bytes rows = {1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 10, 11, 12, 0, 0};
    image.insert(image.end(), rows.begin(), rows.end());
    return image;
}

// Starts like a BMP image but ends inside the headers, so it has no pixels.
Bytes UndecodableBmp() {
    return {'B', 'M', 12, 0, 0, 0, 0, 0, 0, 0, 54, 0};
}

CPicture StoredPicture(const Bytes& image) {
    return StringToPicture(BytesToPictureString(image));
}

std::unique_ptr<CTargetObj> MakeTarget(int32_t order, std::u16string name, CPicture target,
                                       CPicture area, Rect rect, Point shift) {
    auto made = std::make_unique<CTargetObj>();
    made->m_nOrder = order;
    made->m_strName = std::move(name);
    made->m_bmpTarget = std::move(target);
    made->m_bmpArea = std::move(area);
    made->m_rcTarget = rect;
    made->m_ptClickShift = shift;
    return made;
}

class CliTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::random_device seed;
        m_folder = fs::temp_directory_path() / ("tarvik-cli-test-" + std::to_string(seed()));
        fs::create_directories(m_folder);
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(m_folder, ignored);
    }

    // Four targets in list order with orders 2, 0, 2, 1: display order is positions 1, 3, 0, 2.
    fs::path SaveSampleList(const fs::path& name) {
        CTargetObjList list;
        list.AddTail(MakeTarget(2, u"Gr\u00F6\u00DFe \u2013 Ziel", CPicture(RandomPicture(3, 2, 1)),
                                CPicture(RandomPicture(5, 4, 2)), {10, 20, 13, 22}, {1, -1}));
        list.AddTail(MakeTarget(0, u"Start", CPicture(), StoredPicture(UndecodableBmp()),
                                {-5, 0, 0, 7}, {0, 0}));
        list.AddTail(MakeTarget(2, u"Tab\there \"quoted\"", StoredPicture(TwentyFourBitBmp()),
                                CPicture(), {100, 200, 102, 202}, {-3, 4}));
        list.AddTail(MakeTarget(1, u"", CPicture(RandomPicture(1, 1, 3)),
                                CPicture(RandomPicture(2, 3, 4)), {0, 0, 1, 1}, {0, 0}));
        const fs::path path = m_folder / name;
        SaveTargetListFile(list, path);
        return path;
    }

    fs::path m_folder;
};

TEST_F(CliTest, InfoListsTargetsInDisplayOrderWithPictureSizes) {
    const fs::path file = SaveSampleList("sample.trvk");
    const CliResult result = RunTool({"info", file});

    const std::string expected =
        "Header:  \"Tarvik data file\"\n"
        "Version: 1\n"
        "Targets: 4\n"
        "\n"
        "Order 0: \"Start\"\n"
        "  Target rectangle: left -5, top 0, right 0, bottom 7\n"
        "  Click shift:      x 0, y 0\n"
        "  Target picture:   none\n"
        "  Area picture:     undecodable\n"
        "\n"
        "Order 1: \"\"\n"
        "  Target rectangle: left 0, top 0, right 1, bottom 1\n"
        "  Click shift:      x 0, y 0\n"
        "  Target picture:   1 x 1\n"
        "  Area picture:     2 x 3\n"
        "\n" +
        Utf8(u8"Order 2: \"Größe – Ziel\"\n") +
        "  Target rectangle: left 10, top 20, right 13, bottom 22\n"
        "  Click shift:      x 1, y -1\n"
        "  Target picture:   3 x 2\n"
        "  Area picture:     5 x 4\n"
        "\n"
        "Order 2: \"Tab\\there \\\"quoted\\\"\"\n"
        "  Target rectangle: left 100, top 200, right 102, bottom 202\n"
        "  Click shift:      x -3, y 4\n"
        "  Target picture:   2 x 2\n"
        "  Area picture:     none\n";
    EXPECT_EQ(result.status, kExitSuccess);
    EXPECT_EQ(result.out, expected);
    EXPECT_EQ(result.err, "");
}

TEST_F(CliTest, InfoOfAnEmptyListFileShowsNoTargets) {
    const fs::path file = m_folder / "empty.trvk";
    WriteBytes(file, {0x06, 0x00, 0xFF, 0xFF});
    const CliResult result = RunTool({"info", file});
    EXPECT_EQ(result.status, kExitSuccess);
    EXPECT_EQ(result.out, "Header:  \"\"\nVersion: 0\nTargets: 0\n");
}

TEST(CliTextTest, QuotedTextEscapesWhatWouldBreakTheLine) {
    EXPECT_EQ(QuotedText(u"a\\b"), "\"a\\\\b\"");
    EXPECT_EQ(QuotedText(u"line\r\nnext"), "\"line\\r\\nnext\"");
    EXPECT_EQ(QuotedText(std::u16string(u"\x01\x7F\x85\u2028", 4)),
              "\"\\u0001\\u007F\\u0085\\u2028\"");
    // An unpaired surrogate cannot be UTF-8; it shows as the replacement character.
    EXPECT_EQ(QuotedText(std::u16string(1, char16_t{0xD800})), Utf8(u8"\"\uFFFD\""));
}

TEST_F(CliTest, ExportWritesStoredImagesByteForByteAndSkipsMissingPictures) {
    const fs::path file = SaveSampleList("sample.trvk");
    const std::unique_ptr<CTargetObjList> loaded = LoadTargetListFile(file);
    std::vector<const CTargetObj*> byPosition;
    for (const auto& target : *loaded) {
        byPosition.push_back(target.get());
    }
    const fs::path dir = m_folder / "not yet" / "there";

    const CliResult result = RunTool({"export", file, dir});

    ASSERT_EQ(result.status, kExitSuccess) << result.err;
    const auto at = [&](const char* name) { return PathToUtf8(dir / name); };
    const Bytes encoded3x2 = EncodeBmp(*byPosition[0]->m_bmpTarget.Pixels());
    const Bytes encoded5x4 = EncodeBmp(*byPosition[0]->m_bmpArea.Pixels());
    EXPECT_EQ(result.out, "skipped " + at("0-target.bmp") + ": the target has no target picture\n" +
                              "wrote " + at("0-area.bmp") + " (undecodable, 12 bytes)\n" +
                              "wrote " + at("1-target.bmp") + " (1 x 1, 70 bytes)\n" + "wrote " +
                              at("1-area.bmp") + " (2 x 3, 90 bytes)\n" + "wrote " +
                              at("2-pos0-target.bmp") + " (3 x 2, 90 bytes)\n" + "wrote " +
                              at("2-pos0-area.bmp") + " (5 x 4, 146 bytes)\n" + "wrote " +
                              at("2-pos2-target.bmp") + " (2 x 2, 70 bytes)\n" + "skipped " +
                              at("2-pos2-area.bmp") + ": the target has no area picture\n" +
                              "6 files written, 2 skipped\n");

    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir)) {
        names.insert(PathToUtf8(entry.path().filename()));
    }
    EXPECT_EQ(names,
              (std::set<std::string>{"0-area.bmp", "1-target.bmp", "1-area.bmp",
                                     "2-pos0-target.bmp", "2-pos0-area.bmp", "2-pos2-target.bmp"}));
    // Stored images come out as they were stored, even when they cannot be decoded or are not
    // what our encoder would write; pictures without a stored form are encoded.
    EXPECT_EQ(ReadBytes(dir / "0-area.bmp"), UndecodableBmp());
    EXPECT_EQ(ReadBytes(dir / "2-pos2-target.bmp"), TwentyFourBitBmp());
    EXPECT_EQ(ReadBytes(dir / "2-pos0-target.bmp"), encoded3x2);
    EXPECT_EQ(ReadBytes(dir / "2-pos0-area.bmp"), encoded5x4);
    EXPECT_EQ(ReadBytes(dir / "1-target.bmp"), EncodeBmp(*byPosition[3]->m_bmpTarget.Pixels()));
    EXPECT_EQ(ReadBytes(dir / "1-area.bmp"), EncodeBmp(*byPosition[3]->m_bmpArea.Pixels()));
}

TEST_F(CliTest, ExportReplacesEarlierFilesAndFailsWhenTheFolderIsAFile) {
    const fs::path file = SaveSampleList("sample.trvk");
    const fs::path dir = m_folder / "out";
    fs::create_directories(dir);
    WriteBytes(dir / "1-target.bmp", Bytes(500, 0xEE));
    ASSERT_EQ(RunTool({"export", file, dir}).status, kExitSuccess);
    EXPECT_EQ(ReadBytes(dir / "1-target.bmp").size(), 70u);

    const fs::path notAFolder = m_folder / "plain.txt";
    WriteBytes(notAFolder, {'x'});
    const CliResult result = RunTool({"export", file, notAFolder});
    EXPECT_EQ(result.status, kExitFileError);
    const std::string name = PathToUtf8(notAFolder);
    EXPECT_EQ(result.err, "tarvik-cli: " + name + ": " + name +
                              " could not be written. The file was left as it was.\n");
    EXPECT_EQ(ReadBytes(notAFolder), Bytes{'x'});
}

TEST_F(CliTest, ResaveWritesALoadedFileBackByteForByte) {
    const fs::path in = SaveSampleList("sample.trvk");
    const Bytes original = ReadBytes(in);
    const fs::path out = m_folder / "copy.trvk";

    const CliResult result = RunTool({"resave", in, out});
    EXPECT_EQ(result.status, kExitSuccess) << result.err;
    EXPECT_EQ(result.out, "saved " + PathToUtf8(out) + " (4 targets)\n");
    EXPECT_EQ(ReadBytes(out), original);

    // In place, through the temporary file beside it.
    EXPECT_EQ(RunTool({"resave", out, out}).status, kExitSuccess);
    EXPECT_EQ(ReadBytes(out), original);
    EXPECT_FALSE(fs::exists(m_folder / "copy.trvk.saving"));
}

TEST_F(CliTest, ResaveIntoAMissingFolderIsAFileError) {
    const fs::path in = SaveSampleList("sample.trvk");
    const fs::path out = m_folder / "missing" / "copy.trvk";
    const CliResult result = RunTool({"resave", in, out});
    EXPECT_EQ(result.status, kExitFileError);
    const std::string name = PathToUtf8(out);
    EXPECT_EQ(result.err, "tarvik-cli: " + name + ": " + name +
                              " could not be written. The file was left as it was.\n");
    EXPECT_EQ(result.out, "");
}

TEST_F(CliTest, MissingFileIsAFileErrorNamingIt) {
    const fs::path missing = m_folder / "missing.trvk";
    const std::string name = PathToUtf8(missing);
    for (const std::vector<fs::path>& args : {std::vector<fs::path>{"info", missing},
                                              {"export", missing, m_folder / "out"},
                                              {"resave", missing, m_folder / "copy.trvk"}}) {
        const CliResult result = RunTool(args);
        EXPECT_EQ(result.status, kExitFileError);
        EXPECT_EQ(result.err, "tarvik-cli: " + name + ": " + name + " was not found.\n");
        EXPECT_EQ(result.out, "");
    }
    EXPECT_FALSE(fs::exists(m_folder / "out"));
    EXPECT_FALSE(fs::exists(m_folder / "copy.trvk"));
}

TEST_F(CliTest, TruncatedFileIsAnEndOfFileErrorAndWritesNothing) {
    const fs::path whole = SaveSampleList("whole.trvk");
    const Bytes bytes = ReadBytes(whole);
    ASSERT_GT(bytes.size(), 5u);
    const fs::path truncated = m_folder / "truncated.trvk";
    WriteBytes(truncated, Bytes(bytes.begin(), bytes.end() - 5));
    const std::string name = PathToUtf8(truncated);

    for (const std::vector<fs::path>& args : {std::vector<fs::path>{"info", truncated},
                                              {"export", truncated, m_folder / "out"},
                                              {"resave", truncated, m_folder / "copy.trvk"}}) {
        const CliResult result = RunTool(args);
        EXPECT_EQ(result.status, kExitFileError);
        EXPECT_EQ(result.err,
                  "tarvik-cli: " + name + ": Attempted to access an unnamed file past its end.\n");
        EXPECT_EQ(result.out, "");
    }
    EXPECT_FALSE(fs::exists(m_folder / "out"));
    EXPECT_FALSE(fs::exists(m_folder / "copy.trvk"));
}

TEST_F(CliTest, NonAsciiPathsWorkAndAppearInMessagesAsUtf8) {
    const fs::path file = SaveSampleList(fs::path(u8"Zielliste größe ✓.trvk"));
    const CliResult info = RunTool({"info", file});
    EXPECT_EQ(info.status, kExitSuccess) << info.err;
    EXPECT_NE(info.out.find("Targets: 4\n"), std::string::npos);

    const fs::path missing = m_folder / fs::path(u8"Ärger.trvk");
    const std::string expectedName =
        PathToUtf8(m_folder) + PathToUtf8(fs::path("/").make_preferred()) + Utf8(u8"Ärger.trvk");
    const CliResult result = RunTool({"info", missing});
    EXPECT_EQ(result.status, kExitFileError);
    EXPECT_EQ(result.err,
              "tarvik-cli: " + expectedName + ": " + expectedName + " was not found.\n");
}

#ifndef _WIN32
TEST_F(CliTest, ByteNameThatIsNotUtf8StillGetsItsMessage) {
    const fs::path missing = m_folder / fs::path(std::string("bad\xFFname.trvk"));
    const CliResult result = RunTool({"info", missing});
    EXPECT_EQ(result.status, kExitFileError);
    const std::string readable = PathToUtf8(m_folder) + Utf8(u8"/bad\uFFFDname.trvk");
    EXPECT_EQ(result.err,
              "tarvik-cli: " + PathToUtf8(missing) + ": " + readable + " was not found.\n");
}
#endif

TEST(CliUsageTest, UsageErrorsPrintTheUsageOnStandardErrorAndExitOne) {
    const std::vector<std::vector<fs::path>> wrong = {{},
                                                      {"frobnicate"},
                                                      {"info"},
                                                      {"info", "a", "b"},
                                                      {"export", "a"},
                                                      {"export", "a", "b", "c"},
                                                      {"resave", "a"},
                                                      {"INFO", "a"}};
    for (const auto& args : wrong) {
        const CliResult result = RunTool(args);
        EXPECT_EQ(result.status, kExitUsage) << args.size();
        EXPECT_TRUE(result.err.starts_with("tarvik-cli: ")) << result.err;
        EXPECT_TRUE(result.err.ends_with(std::string("\n\n") + CliUsage())) << result.err;
        EXPECT_EQ(result.out, "");
    }
    EXPECT_EQ(RunTool({"frobnicate"}).err,
              std::string("tarvik-cli: unknown command \"frobnicate\"\n\n") + CliUsage());
}

TEST(CliUsageTest, HelpPrintsTheUsageOnStandardOutput) {
    for (const std::vector<fs::path>& args :
         {std::vector<fs::path>{"--help"}, {"-h"}, {"export", "--help"}}) {
        const CliResult result = RunTool(args);
        EXPECT_EQ(result.status, kExitSuccess);
        EXPECT_EQ(result.out, CliUsage());
        EXPECT_EQ(result.err, "");
    }
}

}  // namespace
