// The archive's buffering, counts and value encodings.
#include <gtest/gtest.h>

#include "model/Archive.h"
#include "tests/core/ModelTestUtil.h"

namespace {

// Records the size of every write it receives.
class CChunkSink : public CByteSink {
public:
    void Write(const uint8_t* src, size_t size) override {
        chunks.push_back(size);
        bytes.insert(bytes.end(), src, src + size);
    }
    std::vector<size_t> chunks;
    std::vector<uint8_t> bytes;
};

// Fails every write after the first `allowed` bytes, as a full disk does.
class CFullDiskSink : public CByteSink {
public:
    explicit CFullDiskSink(size_t allowed) : m_nAllowed(allowed) {}
    void Write(const uint8_t*, size_t size) override {
        if (size > m_nAllowed) {
            throw CFileException(FileErrorKind::WriteFailed, "full.trvk");
        }
        m_nAllowed -= size;
    }

private:
    size_t m_nAllowed;
};

}  // namespace

TEST(Archive, WritesGoOutInBlocksOfAtMost4096Bytes) {
    CChunkSink sink;
    CArchive ar(sink, "x");
    std::vector<uint8_t> block(10000);
    for (size_t i = 0; i < block.size(); ++i) {
        block[i] = static_cast<uint8_t>(i * 7);
    }
    ar.WriteWord(0x1234);
    ar.WriteBlock(block);
    ar.WriteDword(0xA1B2C3D4);
    EXPECT_EQ(sink.chunks, (std::vector<size_t>{4096, 4096}));
    ar.Flush();
    ASSERT_EQ(sink.bytes.size(), 2 + 10000 + 4u);
    EXPECT_EQ(sink.bytes[0], 0x34);
    EXPECT_EQ(sink.bytes[1], 0x12);
    EXPECT_TRUE(std::equal(block.begin(), block.end(), sink.bytes.begin() + 2));
    EXPECT_EQ(sink.bytes[10002], 0xD4);
    EXPECT_EQ(sink.bytes[10005], 0xA1);
}

TEST(Archive, CountsBelowFFFFAreAWordOthersAnEscapedDword) {
    CMemorySink sink;
    CArchive ar(sink, "x");
    ar.WriteCount(0xFFFE);
    ar.WriteCount(0xFFFF);
    ar.WriteCount(0x12345);
    ar.Flush();
    EXPECT_EQ(sink.Bytes(), (std::vector<uint8_t>{0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0xFF,
                                                  0xFF, 0x45, 0x23, 0x01, 0x00}));
    CMemorySource source(sink.Bytes());
    CArchive reader(source, "x", CRuntimeClassTable());
    EXPECT_EQ(reader.ReadCount(), 0xFFFEu);
    EXPECT_EQ(reader.ReadCount(), 0xFFFFu);
    EXPECT_EQ(reader.ReadCount(), 0x12345u);
    EXPECT_THROW(reader.ReadCount(), CFileException);
}

TEST(Archive, ReadsAcrossBufferBoundariesAndBlocksReturnShort) {
    std::vector<uint8_t> bytes(4095, 0xAB);
    PutDword(bytes, 0xCAFEBABE);  // straddles the first 4096-byte buffer
    PutWord(bytes, 0x0102);
    CMemorySource source(bytes);
    CArchive ar(source, "x", CRuntimeClassTable());
    std::vector<uint8_t> head(4095);
    ar.ReadExactBlock(head);
    EXPECT_EQ(ar.ReadDword(), 0xCAFEBABEu);
    EXPECT_EQ(ar.BytesLeft(), 2u);
    std::vector<uint8_t> rest(10);
    EXPECT_EQ(ar.ReadBlock(rest), 2u);
    EXPECT_EQ(ar.ReadBlock(rest), 0u);
    try {
        ar.ReadWord();
        FAIL() << "read past the end";
    } catch (const CFileException& error) {
        EXPECT_EQ(error.Kind(), FileErrorKind::EndOfFile);
    }
}

TEST(Archive, SinkFailuresEndTheWrite) {
    CTargetObjList list;
    for (uint32_t i = 0; i < 3; ++i) {
        list.AddCaptured(MakeTarget(u"t", 10, 10, i));
    }
    CFullDiskSink sink(5000);
    EXPECT_THROW(WriteTargetList(list, sink, "full.trvk"), CFileException);
}
