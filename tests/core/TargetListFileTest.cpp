// Byte layout of target-list files, reading them back, and the errors damaged files raise.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "model/BmpImage.h"
#include "model/PictureString.h"
#include "tests/core/ModelTestUtil.h"

namespace {

std::vector<uint8_t> ExpectedEmptyListFile() {
    std::vector<uint8_t> bytes;
    PutWord(bytes, 0xFFFF);
    PutWord(bytes, 1);
    PutWord(bytes, 14);
    PutAscii(bytes, "CTargetObjList");
    PutString(bytes, u"Tarvik data file");
    PutDword(bytes, 1);
    PutWord(bytes, 0);
    return bytes;
}

// Size of a target record after its tag.
size_t TargetFieldsSize(const CTargetObj& target) {
    const auto stringSize = [](size_t units) { return 4 + 2 * units; };
    return 4 + 16 + 8 + 5 * 4 + stringSize(PictureToString(target.m_bmpTarget).size()) +
           stringSize(PictureToString(target.m_bmpArea).size()) +
           stringSize(target.m_strName.size()) + stringSize(target.m_strReserved1.size()) +
           stringSize(target.m_strReserved2.size()) + stringSize(target.m_strReserved3.size());
}

uint16_t WordAt(const std::vector<uint8_t>& bytes, size_t offset) {
    return static_cast<uint16_t>(bytes.at(offset) | (bytes.at(offset + 1) << 8));
}

FileErrorKind ReadErrorOf(const std::vector<uint8_t>& bytes) {
    try {
        ReadFromBytes(bytes);
    } catch (const CFileException& error) {
        return error.Kind();
    }
    ADD_FAILURE() << "the read did not fail";
    return FileErrorKind::Generic;
}

// A file with the standard prefix, `count` items, and what follows supplied by the caller.
std::vector<uint8_t> ListPrefix(uint16_t count) {
    std::vector<uint8_t> bytes = ExpectedEmptyListFile();
    bytes.resize(bytes.size() - 2);
    PutWord(bytes, count);
    return bytes;
}

void PutTargetDescription(std::vector<uint8_t>& bytes) {
    PutWord(bytes, 0xFFFF);
    PutWord(bytes, 1);
    PutWord(bytes, 10);
    PutAscii(bytes, "CTargetObj");
}

// The fields of a target without pictures, named `name`.
void PutPlainTargetFields(std::vector<uint8_t>& bytes, int32_t order, const std::u16string& name) {
    PutDword(bytes, static_cast<uint32_t>(order));
    for (int i = 0; i < 6 + 5; ++i) {
        PutDword(bytes, static_cast<uint32_t>(i));  // rectangle, point, reserved integers
    }
    PutString(bytes, u"");
    PutString(bytes, u"");
    PutString(bytes, name);
    PutString(bytes, u"");
    PutString(bytes, u"");
    PutString(bytes, u"");
}

}  // namespace

TEST(TargetListFileLayout, EmptyListIsTheSixtyTwoBytePrefix) {
    CTargetObjList list;
    const std::vector<uint8_t> bytes = WriteToBytes(list);
    EXPECT_EQ(bytes.size(), 62u);
    EXPECT_EQ(bytes, ExpectedEmptyListFile());
    EXPECT_EQ(list.m_nVersion, 1);
}

TEST(TargetListFileLayout, OneTargetFileIsLaidOutFieldByField) {
    CTargetObjList list;
    CTargetObj& target = list.AddCaptured(MakeTarget(u"Ok", 3, 2, 7));
    target.m_rcTarget = {1, 2, 4, 4};
    target.m_ptClickShift = {-5, 6};
    target.m_nReserved1 = 11;
    target.m_nReserved5 = 15;
    target.m_strReserved3 = u"z";
    const std::vector<uint8_t> bytes = WriteToBytes(list);

    std::vector<uint8_t> expected = ListPrefix(1);
    PutTargetDescription(expected);
    ASSERT_EQ(expected.size(), 78u);
    ASSERT_GE(bytes.size(), 78u);
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), bytes.begin()));

    PutDword(expected, 0);  // order
    for (const int32_t value : {1, 2, 4, 4, -5, 6, 11, 0, 0, 0, 15}) {
        PutDword(expected, static_cast<uint32_t>(value));
    }
    for (const CPicture* picture : {&target.m_bmpTarget, &target.m_bmpArea}) {
        const std::vector<uint8_t> image = EncodeBmp(*picture->Pixels());
        PutDword(expected, static_cast<uint32_t>(image.size()));
        for (const uint8_t b : image) {
            // Each image byte is the pair 01 b; 0x1A is the pair 02 06.
            expected.push_back(b == 0x1A ? 0x02 : 0x01);
            expected.push_back(b == 0x1A ? 0x06 : b);
        }
    }
    PutString(expected, u"Ok");
    PutString(expected, u"");
    PutString(expected, u"");
    PutString(expected, u"z");
    EXPECT_EQ(bytes, expected);
}

TEST(TargetListFileLayout, ClassIsDescribedOnceThenReferencedAs8003) {
    CTargetObjList list;
    for (uint32_t i = 0; i < 3; ++i) {
        list.AddCaptured(MakeTarget(u"t", 4, 4, i * 10));
    }
    const std::vector<uint8_t> bytes = WriteToBytes(list);
    size_t offset = 62;
    size_t recordIndex = 0;
    for (const auto& target : list) {
        if (recordIndex == 0) {
            EXPECT_EQ(WordAt(bytes, offset), 0xFFFF);
            offset += 2 + 2 + 2 + 10;
        } else {
            EXPECT_EQ(WordAt(bytes, offset), 0x8003) << "record " << recordIndex;
            offset += 2;
        }
        offset += TargetFieldsSize(*target);
        ++recordIndex;
    }
    EXPECT_EQ(offset, bytes.size());
    // The list is written head to tail: the newest capture comes first in the file.
    EXPECT_EQ(WordAt(bytes, 62 + 16), 2);
}

TEST(TargetListFileReading, RoundTripKeepsEveryFieldAndEveryByte) {
    CTargetObjList list;
    list.AddCaptured(MakeTarget(u"first", 5, 3, 1));
    CTargetObj& second = list.AddCaptured(MakeTarget(u"n\u00e4me \u4e2d", 1, 1, 2));
    second.m_strReserved1 = u"r1";
    second.m_strReserved2 = u"r2";
    second.m_nReserved2 = -2;
    second.m_nReserved3 = 3;
    second.m_nReserved4 = 4;
    second.m_rcArea = {1, 1, 101, 101};
    const std::vector<uint8_t> bytes = WriteToBytes(list);

    const std::unique_ptr<CTargetObjList> loaded = ReadFromBytes(bytes);
    ASSERT_EQ(loaded->Count(), 2u);
    EXPECT_EQ(loaded->m_strHeader, u"Tarvik data file");
    EXPECT_EQ(loaded->m_nVersion, 1);
    auto original = list.begin();
    for (const auto& target : *loaded) {
        const CTargetObj& expected = **original++;
        EXPECT_EQ(target->m_strName, expected.m_strName);
        EXPECT_EQ(target->m_nOrder, expected.m_nOrder);
        EXPECT_EQ(target->m_rcTarget, expected.m_rcTarget);
        EXPECT_EQ(target->m_ptClickShift, expected.m_ptClickShift);
        EXPECT_EQ(target->m_strReserved1, expected.m_strReserved1);
        EXPECT_EQ(target->m_strReserved2, expected.m_strReserved2);
        EXPECT_EQ(target->m_nReserved2, expected.m_nReserved2);
        EXPECT_EQ(target->m_nReserved4, expected.m_nReserved4);
        ASSERT_NE(target->m_bmpTarget.Pixels(), nullptr);
        EXPECT_EQ(*target->m_bmpTarget.Pixels(), *expected.m_bmpTarget.Pixels());
        EXPECT_EQ(*target->m_bmpArea.Pixels(), *expected.m_bmpArea.Pixels());
        EXPECT_EQ(target->m_rcArea, Rect{});  // never stored
    }
    EXPECT_EQ(WriteToBytes(*loaded), bytes);
}

TEST(TargetListFileReading, KeepsFileOrderAndStoredOrderNumbers) {
    // List order 2, 1, 0 as written, and orders with a gap and a repeat: nothing is re-sorted.
    std::vector<uint8_t> bytes = ListPrefix(4);
    PutTargetDescription(bytes);
    PutPlainTargetFields(bytes, 2, u"a");
    for (const auto& [order, name] :
         std::vector<std::pair<int32_t, std::u16string>>{{1, u"b"}, {0, u"c"}, {0, u"d"}}) {
        PutWord(bytes, 0x8003);
        PutPlainTargetFields(bytes, order, name);
    }
    const std::unique_ptr<CTargetObjList> loaded = ReadFromBytes(bytes);
    std::vector<std::pair<int32_t, std::u16string>> seen;
    for (const auto& target : *loaded) {
        seen.emplace_back(target->m_nOrder, target->m_strName);
        EXPECT_TRUE(target->m_bmpTarget.IsNull());
    }
    EXPECT_EQ(seen, (std::vector<std::pair<int32_t, std::u16string>>{
                        {2, u"a"}, {1, u"b"}, {0, u"c"}, {0, u"d"}}));
    EXPECT_EQ(WriteToBytes(*loaded), bytes);
}

TEST(TargetListFileReading, ForeignHeaderAndVersionLoadAndAreRewrittenAsOurs) {
    std::vector<uint8_t> bytes;
    PutWord(bytes, 0xFFFF);
    PutWord(bytes, 1);
    PutWord(bytes, 14);
    PutAscii(bytes, "CTargetObjList");
    PutString(bytes, u"Something else");
    PutDword(bytes, 77);
    PutWord(bytes, 0);
    const std::unique_ptr<CTargetObjList> loaded = ReadFromBytes(bytes);
    EXPECT_EQ(loaded->m_strHeader, u"Something else");
    EXPECT_EQ(loaded->m_nVersion, 77);
    EXPECT_EQ(WriteToBytes(*loaded), ExpectedEmptyListFile());
}

TEST(TargetListFileReading, EmptyListMarksLoadAnEmptyListSilently) {
    // The header length 0xFFFF0006 ends the read, whatever follows.
    std::vector<uint8_t> marked;
    PutWord(marked, 0xFFFF);
    PutWord(marked, 1);
    PutWord(marked, 14);
    PutAscii(marked, "CTargetObjList");
    PutDword(marked, 0xFFFF0006);
    PutAscii(marked, "garbage that is never read");
    std::unique_ptr<CTargetObjList> loaded = ReadFromBytes(marked);
    EXPECT_TRUE(loaded->IsEmpty());
    EXPECT_TRUE(loaded->m_strHeader.empty());
    EXPECT_EQ(loaded->m_nVersion, 0);

    // A file that starts with 06 00 FF FF, also when that is all it holds.
    for (const std::vector<uint8_t>& bytes :
         {std::vector<uint8_t>{0x06, 0x00, 0xFF, 0xFF},
          std::vector<uint8_t>{0x06, 0x00, 0xFF, 0xFF, 0x12, 0x34, 0x56}}) {
        loaded = ReadFromBytes(bytes);
        EXPECT_TRUE(loaded->IsEmpty());
        EXPECT_EQ(loaded->m_nVersion, 0);
    }
}

TEST(TargetListFileReading, StringsEndAtTheirFirstZeroUnitAndShortStringsKeepWhatWasRead) {
    std::vector<uint8_t> bytes = ListPrefix(1);
    PutTargetDescription(bytes);
    PutPlainTargetFields(bytes, 0, std::u16string(u"ab\0cd", 5));
    std::unique_ptr<CTargetObjList> loaded = ReadFromBytes(bytes);
    EXPECT_EQ((*loaded->begin())->m_strName, u"ab");

    // The last string claims 2^31 - 1 units but the file ends after three: they are kept, and
    // nothing near the claimed size is allocated (the sanitizer build would report it).
    bytes = ListPrefix(1);
    PutTargetDescription(bytes);
    PutPlainTargetFields(bytes, 0, u"n");
    bytes.resize(bytes.size() - 4);
    PutDword(bytes, 0x7FFFFFFF);
    for (const char16_t unit : u"xyz") {
        if (unit != 0) {
            PutWord(bytes, unit);
        }
    }
    bytes.push_back(0x41);  // half a unit
    loaded = ReadFromBytes(bytes);
    EXPECT_EQ((*loaded->begin())->m_strReserved3, u"xyz");
}

TEST(TargetListFileReading, BigTagClassReferenceIsAccepted) {
    std::vector<uint8_t> bytes = ListPrefix(2);
    PutTargetDescription(bytes);
    PutPlainTargetFields(bytes, 0, u"a");
    PutWord(bytes, 0x7FFF);
    PutDword(bytes, 0x80000003);
    PutPlainTargetFields(bytes, 1, u"b");
    const std::unique_ptr<CTargetObjList> loaded = ReadFromBytes(bytes);
    ASSERT_EQ(loaded->Count(), 2u);
    EXPECT_EQ(loaded->FindByOrder(1)->m_strName, u"b");
}

TEST(TargetListFileErrors, EachDamageRaisesItsKind) {
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
        FileErrorKind kind;
    };
    std::vector<Case> cases;
    const auto withItem = [](uint16_t count, const std::function<void(std::vector<uint8_t>&)>& f) {
        std::vector<uint8_t> bytes = ListPrefix(count);
        f(bytes);
        return bytes;
    };
    cases.push_back({"empty file", {}, FileErrorKind::EndOfFile});
    cases.push_back({"one byte", {0xFF}, FileErrorKind::EndOfFile});
    {
        std::vector<uint8_t> bytes = ExpectedEmptyListFile();
        bytes[6] = 'X';
        cases.push_back({"other class name", bytes, FileErrorKind::BadClass});
        bytes = ExpectedEmptyListFile();
        bytes[2] = 2;
        cases.push_back({"schema 2", bytes, FileErrorKind::BadSchema});
    }
    {
        std::vector<uint8_t> bytes;
        PutWord(bytes, 0xFFFF);
        PutWord(bytes, 1);
        PutWord(bytes, 64);
        PutAscii(bytes, std::string(64, 'C'));
        cases.push_back({"class name of 64 bytes", bytes, FileErrorKind::BadClass});
        bytes.resize(6 + 5);
        bytes[4] = 14;
        cases.push_back({"class name cut short", bytes, FileErrorKind::BadClass});
    }
    cases.push_back({"object reference at the top", {0x02, 0x00}, FileErrorKind::BadFormat});
    cases.push_back({"null object at the top", {0x00, 0x00}, FileErrorKind::BadFormat});
    {
        std::vector<uint8_t> bytes = ExpectedEmptyListFile();
        bytes.pop_back();
        cases.push_back({"file ends inside the count", bytes, FileErrorKind::EndOfFile});
    }
    {
        std::vector<uint8_t> bytes = ExpectedEmptyListFile();
        bytes[20] = 0xFE;
        bytes[21] = 0xFF;
        bytes[22] = 0xFF;
        bytes[23] = 0xFF;
        cases.push_back({"negative header length", bytes, FileErrorKind::InvalidArgument});
    }
    cases.push_back({"list class as an item",
                     withItem(1,
                              [](auto& b) {
                                  PutWord(b, 0xFFFF);
                                  PutWord(b, 1);
                                  PutWord(b, 14);
                                  PutAscii(b, "CTargetObjList");
                              }),
                     FileErrorKind::BadClass});
    cases.push_back({"item of unknown class",
                     withItem(1,
                              [](auto& b) {
                                  PutWord(b, 0xFFFF);
                                  PutWord(b, 1);
                                  PutWord(b, 6);
                                  PutAscii(b, "CWhatX");
                              }),
                     FileErrorKind::BadClass});
    cases.push_back({"item schema 3",
                     withItem(1,
                              [](auto& b) {
                                  PutWord(b, 0xFFFF);
                                  PutWord(b, 3);
                                  PutWord(b, 10);
                                  PutAscii(b, "CTargetObj");
                              }),
                     FileErrorKind::BadSchema});
    for (const auto& [tag, kind] : std::vector<std::pair<uint16_t, FileErrorKind>>{
             {0x8000, FileErrorKind::BadFormat},  // class index 0
             {0x8003, FileErrorKind::BadFormat},  // not handed out yet
             {0x8002, FileErrorKind::BadFormat},  // the list object, not a class
             {0x8001, FileErrorKind::BadClass},   // the list class where a target belongs
             {0x0002, FileErrorKind::BadFormat},  // an object already read
             {0x0000, FileErrorKind::BadFormat},  // null where a target belongs
         }) {
        cases.push_back({"item tag", withItem(1, [tag = tag](auto& b) { PutWord(b, tag); }), kind});
    }
    cases.push_back({"big tag object reference",
                     withItem(1,
                              [](auto& b) {
                                  PutWord(b, 0x7FFF);
                                  PutDword(b, 2);
                              }),
                     FileErrorKind::BadFormat});
    cases.push_back({"big tag class index too high",
                     withItem(1,
                              [](auto& b) {
                                  PutWord(b, 0x7FFF);
                                  PutDword(b, 0x80000100);
                              }),
                     FileErrorKind::BadFormat});
    cases.push_back({"second item refers to an object",
                     withItem(2,
                              [](auto& b) {
                                  PutTargetDescription(b);
                                  PutPlainTargetFields(b, 0, u"a");
                                  PutWord(b, 0x0004);
                              }),
                     FileErrorKind::BadFormat});
    cases.push_back({"count larger than the items",
                     withItem(2,
                              [](auto& b) {
                                  PutTargetDescription(b);
                                  PutPlainTargetFields(b, 0, u"a");
                              }),
                     FileErrorKind::EndOfFile});
    cases.push_back({"rectangle cut short",
                     withItem(1,
                              [](auto& b) {
                                  PutTargetDescription(b);
                                  PutDword(b, 0);
                                  PutDword(b, 1);
                                  PutDword(b, 2);
                              }),
                     FileErrorKind::EndOfFile});
    cases.push_back({"negative name length",
                     withItem(1,
                              [](auto& b) {
                                  PutTargetDescription(b);
                                  PutPlainTargetFields(b, 0, u"abc");
                                  // the name length sits after order, 11 ints and two empty
                                  // pictures
                                  const size_t at = 78 + 4 + 44 + 8;
                                  b[at] = 0xFF;
                                  b[at + 1] = 0xFF;
                                  b[at + 2] = 0xFF;
                                  b[at + 3] = 0xFF;
                              }),
                     FileErrorKind::InvalidArgument});
    for (const Case& c : cases) {
        EXPECT_EQ(ReadErrorOf(c.bytes), c.kind) << c.what;
    }
}

TEST(TargetListFileErrors, EveryPrefixOfAValidFileFailsCleanlyOrLoads) {
    CTargetObjList list;
    // Small pictures keep the number of prefixes, each read whole, manageable.
    for (const uint32_t seed : {3u, 4u}) {
        CTargetObj& target = list.AddCaptured(MakeTarget(u"name", 2, 3, seed));
        target.m_bmpArea = CPicture(RandomPicture(3, 2, seed + 10));
    }
    const std::vector<uint8_t> bytes = WriteToBytes(list);
    size_t failures = 0;
    for (size_t length = 0; length < bytes.size(); ++length) {
        const std::vector<uint8_t> prefix(bytes.begin(), bytes.begin() + length);
        try {
            const std::unique_ptr<CTargetObjList> loaded = ReadFromBytes(prefix);
            // Only a cut inside the very last strings can still load: both targets are there.
            EXPECT_EQ(loaded->Count(), 2u) << "prefix of " << length;
        } catch (const CFileException& error) {
            ++failures;
            EXPECT_TRUE(error.Kind() == FileErrorKind::EndOfFile ||
                        error.Kind() == FileErrorKind::BadClass)
                << "prefix of " << length;
        }
    }
    EXPECT_GT(failures, bytes.size() / 2);
}

TEST(TargetListFileErrors, MessagesNameTheFile) {
    const std::filesystem::path path = "/lists/damaged.trvk";
    EXPECT_EQ(FileErrorText(FileErrorKind::EndOfFile, path),
              u"Attempted to access an unnamed file past its end.");
    EXPECT_EQ(FileErrorText(FileErrorKind::BadClass, path),
              u"/lists/damaged.trvk contained an unexpected object.");
    EXPECT_EQ(FileErrorText(FileErrorKind::BadSchema, path),
              u"/lists/damaged.trvk contains an incorrect schema.");
    EXPECT_EQ(FileErrorText(FileErrorKind::BadFormat, path),
              u"/lists/damaged.trvk has a bad format.");
    EXPECT_EQ(FileErrorText(FileErrorKind::InvalidArgument, path), u"The parameter is incorrect.");
    EXPECT_EQ(FileErrorText(FileErrorKind::OutOfMemory, path), u"Out of memory.");
    EXPECT_EQ(FileErrorText(FileErrorKind::FileNotFound, path),
              u"/lists/damaged.trvk was not found.");
    EXPECT_EQ(FileErrorText(FileErrorKind::AccessDenied, path),
              u"Access to /lists/damaged.trvk was denied.");
    try {
        ReadFromBytes({0x02, 0x00});
        FAIL() << "no error";
    } catch (const CFileException& error) {
        EXPECT_EQ(error.Path(), path);
        EXPECT_EQ(error.Message(), u"/lists/damaged.trvk has a bad format.");
    }
}
