// The buffered archive: little-endian values, strings and object records over a byte stream.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "model/ByteStream.h"
#include "model/FileErrors.h"
#include "model/RuntimeClass.h"

// Reads or writes one file through a 4096-byte buffer. Every read that runs past the end of the
// data throws CFileException(EndOfFile), except ReadBlock, which returns short. Object records
// share one index table (classes and objects numbered from 1 in order of appearance) for the
// life of the archive.
class CArchive {
public:
    static constexpr size_t kBufferSize = 4096;

    // A storing archive. Call Flush before the sink is closed.
    CArchive(CByteSink& sink, std::filesystem::path path);
    // A loading archive that creates objects of the classes in `classes`.
    CArchive(CByteSource& source, std::filesystem::path path, const CRuntimeClassTable& classes);

    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;

    bool IsStoring() const { return m_pSink != nullptr; }
    bool IsLoading() const { return m_pSource != nullptr; }
    const std::filesystem::path& Path() const { return m_path; }

    void WriteWord(uint16_t value);
    void WriteInt(int32_t value);
    void WriteDword(uint32_t value);
    void WriteBlock(std::span<const uint8_t> bytes);
    void WriteCount(uint32_t count);
    // Length in UTF-16 units as an int32, then the units, no terminator.
    void WriteString(std::u16string_view text);
    // Writes the record of `object`: its class description the first time the class appears in
    // this archive, a class reference after that; then the object's fields.
    void WriteObject(CObject& object);
    // Sends the buffered bytes to the sink.
    void Flush();

    uint16_t ReadWord();
    int32_t ReadInt();
    uint32_t ReadDword();
    // Reads up to dest.size() bytes and returns how many it got.
    size_t ReadBlock(std::span<uint8_t> dest);
    // Reads `dest.size()` bytes or throws EndOfFile.
    void ReadExactBlock(std::span<uint8_t> dest);
    uint32_t ReadCount();
    // A negative length throws InvalidArgument. A string cut short by the end of the data keeps
    // what was there; the string ends at its first code unit 0. Memory is bounded by the bytes
    // left, never by the stored length.
    std::u16string ReadString();
    // The same, for a length already read.
    std::u16string ReadStringOfLength(int32_t length);
    // Reads one object record that must hold a new object of class `expected`, creates it and
    // reads its fields. Bad class names, schemas and indexes throw as the file format demands.
    std::unique_ptr<CObject> ReadObject(const CRuntimeClass& expected);
    // True when the next bytes of the data are `prefix`; consumes nothing.
    bool PeekEquals(std::span<const uint8_t> prefix);

    // Bytes not yet read: those in the buffer and those still in the source.
    uint64_t BytesLeft() const;

private:
    struct IndexEntry {
        const CRuntimeClass* m_pClass;  // the class, for a class entry; null for an object
    };

    void Put(const void* src, size_t size);
    size_t Take(void* dest, size_t size);
    void TakeExact(void* dest, size_t size);
    bool FillBuffer();
    [[noreturn]] void Fail(FileErrorKind kind) const;
    const CRuntimeClass& ReadClassDescription(const CRuntimeClass& expected);
    const CRuntimeClass& ClassAtIndex(uint32_t index, const CRuntimeClass& expected) const;

    CByteSink* m_pSink = nullptr;
    CByteSource* m_pSource = nullptr;
    const CRuntimeClassTable* m_pClasses = nullptr;
    std::filesystem::path m_path;
    std::array<uint8_t, kBufferSize> m_buffer{};
    size_t m_nBufPos = 0;
    size_t m_nBufEnd = 0;
    // Loading: entry i - 1 describes index i. Storing: the classes written so far, with their
    // indexes, and the next index to hand out.
    std::vector<IndexEntry> m_loadIndex;
    std::vector<std::pair<const CRuntimeClass*, uint32_t>> m_storedClasses;
    uint32_t m_nNextStoreIndex = 1;
};
