// Memory and stdio implementations of byte sources and sinks.
#include "model/ByteStream.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>

#include "model/FileErrors.h"

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

size_t CMemorySource::Read(uint8_t* dest, size_t size) {
    const size_t count = std::min(size, m_bytes.size() - m_nPos);
    if (count > 0) {
        std::memcpy(dest, m_bytes.data() + m_nPos, count);
        m_nPos += count;
    }
    return count;
}

void CMemorySink::Write(const uint8_t* src, size_t size) {
    m_bytes.insert(m_bytes.end(), src, src + size);
}

CStdioFile& CStdioFile::operator=(CStdioFile&& other) noexcept {
    if (this != &other) {
        Close();
        m_pFile = other.m_pFile;
        other.m_pFile = nullptr;
    }
    return *this;
}

CStdioFile::~CStdioFile() {
    Close();
}

bool CStdioFile::Close() {
    if (m_pFile == nullptr) {
        return true;
    }
    const bool ok = std::fclose(m_pFile) == 0;
    m_pFile = nullptr;
    return ok;
}

namespace {

std::FILE* OpenFile(const std::filesystem::path& path, bool forWriting) {
#ifdef _WIN32
    return _wfopen(path.c_str(), forWriting ? L"wb" : L"rb");
#else
    return std::fopen(path.c_str(), forWriting ? "wb" : "rb");
#endif
}

#ifdef _WIN32
// The C runtime folds "path not found" and "sharing violation" into its errno values; the
// system's own error code (_doserrno) tells them apart.
constexpr unsigned long kErrorFileNotFound = 2;
constexpr unsigned long kErrorPathNotFound = 3;
constexpr unsigned long kErrorTooManyOpenFiles = 4;
constexpr unsigned long kErrorAccessDenied = 5;
constexpr unsigned long kErrorInvalidDrive = 15;
constexpr unsigned long kErrorSharingViolation = 32;
constexpr unsigned long kErrorLockViolation = 33;
constexpr unsigned long kErrorInvalidName = 123;
constexpr unsigned long kErrorBadPathname = 161;

std::optional<FileErrorKind> SystemOpenErrorKind(unsigned long error) {
    switch (error) {
        case kErrorFileNotFound:
            return FileErrorKind::FileNotFound;
        case kErrorPathNotFound:
        case kErrorInvalidDrive:
        case kErrorInvalidName:
        case kErrorBadPathname:
            return FileErrorKind::BadPath;
        case kErrorTooManyOpenFiles:
            return FileErrorKind::TooManyOpenFiles;
        case kErrorAccessDenied:
            return FileErrorKind::AccessDenied;
        case kErrorSharingViolation:
        case kErrorLockViolation:
            return FileErrorKind::SharingViolation;
        default:
            return std::nullopt;
    }
}
#endif

FileErrorKind OpenErrorKind(int error) {
#ifdef _WIN32
    if (const auto kind = SystemOpenErrorKind(_doserrno)) {
        return *kind;
    }
#endif
    switch (error) {
        case ENOENT:
            return FileErrorKind::FileNotFound;
        case ENOTDIR:
        case ENAMETOOLONG:
        case EINVAL:
            return FileErrorKind::BadPath;
        case EACCES:
        case EPERM:
        case EISDIR:
        case EROFS:
            return FileErrorKind::AccessDenied;
        case EBUSY:
            return FileErrorKind::SharingViolation;
        case EMFILE:
        case ENFILE:
            return FileErrorKind::TooManyOpenFiles;
        default:
            return FileErrorKind::Generic;
    }
}

}  // namespace

CFileSource::CFileSource(const std::filesystem::path& path) {
    errno = 0;
#ifdef _WIN32
    _doserrno = 0;
#endif
    m_file = CStdioFile(OpenFile(path, false));
    if (m_file.Get() == nullptr) {
        throw CFileException(OpenErrorKind(errno), path);
    }
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) {
        throw CFileException(FileErrorKind::AccessDenied, path);
    }
    const uintmax_t size = std::filesystem::file_size(path, error);
    if (error) {
        throw CFileException(FileErrorKind::Generic, path);
    }
    m_nSize = size;
}

size_t CFileSource::Read(uint8_t* dest, size_t size) {
    const size_t count = std::fread(dest, 1, size, m_file.Get());
    m_nPos += count;
    // A file that shrank under us ends here; one that grew is read only up to its first size.
    if (m_nPos > m_nSize) {
        m_nSize = m_nPos;
    }
    return count;
}

CFileSink::CFileSink(const std::filesystem::path& path) : m_path(path) {
    m_file = CStdioFile(OpenFile(path, true));
    if (m_file.Get() == nullptr) {
        throw CFileException(FileErrorKind::WriteFailed, m_path);
    }
}

void CFileSink::Write(const uint8_t* src, size_t size) {
    if (m_file.Get() == nullptr || std::fwrite(src, 1, size, m_file.Get()) != size) {
        throw CFileException(FileErrorKind::WriteFailed, m_path);
    }
}

void CFileSink::Close() {
    std::FILE* file = m_file.Get();
    if (file == nullptr) {
        throw CFileException(FileErrorKind::WriteFailed, m_path);
    }
    bool ok = std::fflush(file) == 0;
#ifndef _WIN32
    ok = ok && ::fsync(::fileno(file)) == 0;
#else
    ok = ok && _commit(_fileno(file)) == 0;
#endif
    ok = m_file.Close() && ok;
    if (!ok) {
        throw CFileException(FileErrorKind::WriteFailed, m_path);
    }
}
