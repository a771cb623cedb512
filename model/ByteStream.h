// Byte sources and sinks under the archive: memory buffers and plain files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <span>
#include <vector>

class CByteSource {
public:
    virtual ~CByteSource() = default;
    // Copies up to `size` bytes into `dest` and returns how many it copied; 0 at the end.
    virtual size_t Read(uint8_t* dest, size_t size) = 0;
    // Bytes between the read position and the end; the reader bounds every length by it.
    virtual uint64_t BytesLeft() const = 0;
};

class CByteSink {
public:
    virtual ~CByteSink() = default;
    // Writes all `size` bytes or throws CFileException(WriteFailed).
    virtual void Write(const uint8_t* src, size_t size) = 0;
};

// Reads from bytes it does not own; they must outlive the source.
class CMemorySource : public CByteSource {
public:
    explicit CMemorySource(std::span<const uint8_t> bytes) : m_bytes(bytes) {}
    size_t Read(uint8_t* dest, size_t size) override;
    uint64_t BytesLeft() const override { return m_bytes.size() - m_nPos; }

private:
    std::span<const uint8_t> m_bytes;
    size_t m_nPos = 0;
};

class CMemorySink : public CByteSink {
public:
    void Write(const uint8_t* src, size_t size) override;
    const std::vector<uint8_t>& Bytes() const { return m_bytes; }
    std::vector<uint8_t> TakeBytes() { return std::move(m_bytes); }

private:
    std::vector<uint8_t> m_bytes;
};

// Owns an open stdio stream and closes it.
class CStdioFile {
public:
    CStdioFile() = default;
    explicit CStdioFile(std::FILE* file) : m_pFile(file) {}
    CStdioFile(CStdioFile&& other) noexcept : m_pFile(other.m_pFile) { other.m_pFile = nullptr; }
    CStdioFile& operator=(CStdioFile&& other) noexcept;
    CStdioFile(const CStdioFile&) = delete;
    CStdioFile& operator=(const CStdioFile&) = delete;
    ~CStdioFile();

    std::FILE* Get() const { return m_pFile; }
    // Closes the stream and reports whether everything written reached the file.
    bool Close();

private:
    std::FILE* m_pFile = nullptr;
};

// Opens an existing file for reading; throws CFileException with the cause (not found, access
// denied, ...) when it cannot.
class CFileSource : public CByteSource {
public:
    explicit CFileSource(const std::filesystem::path& path);
    size_t Read(uint8_t* dest, size_t size) override;
    uint64_t BytesLeft() const override { return m_nSize - m_nPos; }

private:
    CStdioFile m_file;
    uint64_t m_nSize = 0;
    uint64_t m_nPos = 0;
};

// Creates or truncates a file for writing. Every failure, also at Close, throws
// CFileException(WriteFailed) naming the file.
class CFileSink : public CByteSink {
public:
    explicit CFileSink(const std::filesystem::path& path);
    void Write(const uint8_t* src, size_t size) override;
    // Flushes to the storage device and closes; a sink destroyed without Close drops the file's
    // completeness guarantee, which is why atomic saves call it before replacing anything.
    void Close();

private:
    std::filesystem::path m_path;
    CStdioFile m_file;
};
