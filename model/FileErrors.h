// The file errors that reach the user, with their fixed message texts.
#pragma once

#include <exception>
#include <filesystem>
#include <string>

enum class FileErrorKind {
    // Raised while reading a target-list file.
    EndOfFile,
    BadClass,
    BadSchema,
    BadFormat,
    InvalidArgument,
    OutOfMemory,
    // Raised while opening a file.
    FileNotFound,
    BadPath,
    AccessDenied,
    SharingViolation,
    TooManyOpenFiles,
    Generic,
    // Raised while creating or writing a file.
    WriteFailed,
};

// The text the user sees for `kind` concerning `path`. Texts that name a file put its full path
// in place of %1; the end-of-file text names "an unnamed file", as users of earlier versions
// have always seen it.
std::u16string FileErrorText(FileErrorKind kind, const std::filesystem::path& path);

class CFileException : public std::exception {
public:
    CFileException(FileErrorKind kind, std::filesystem::path path)
        : m_kind(kind), m_path(std::move(path)) {}

    FileErrorKind Kind() const { return m_kind; }
    const std::filesystem::path& Path() const { return m_path; }
    std::u16string Message() const { return FileErrorText(m_kind, m_path); }
    const char* what() const noexcept override { return "target-list file error"; }

private:
    FileErrorKind m_kind;
    std::filesystem::path m_path;
};
