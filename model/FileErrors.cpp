// Message texts of the file errors.
#include "model/FileErrors.h"

#include "model/TextConvert.h"

namespace {

const char16_t* TemplateFor(FileErrorKind kind) {
    switch (kind) {
        case FileErrorKind::EndOfFile:
            return u"Attempted to access %1 past its end.";
        case FileErrorKind::BadClass:
            return u"%1 contained an unexpected object.";
        case FileErrorKind::BadSchema:
            return u"%1 contains an incorrect schema.";
        case FileErrorKind::BadFormat:
            return u"%1 has a bad format.";
        case FileErrorKind::InvalidArgument:
            return u"The parameter is incorrect.";
        case FileErrorKind::OutOfMemory:
            return u"Out of memory.";
        case FileErrorKind::FileNotFound:
            return u"%1 was not found.";
        case FileErrorKind::BadPath:
            return u"%1 contains an incorrect path.";
        case FileErrorKind::AccessDenied:
            return u"Access to %1 was denied.";
        case FileErrorKind::SharingViolation:
            return u"Encountered a sharing violation while accessing %1.";
        case FileErrorKind::TooManyOpenFiles:
            return u"Could not open %1 because there are too many open files.";
        case FileErrorKind::Generic:
            return u"An unknown error occurred while accessing %1.";
        case FileErrorKind::WriteFailed:
            return u"%1 could not be written. The file was left as it was.";
    }
    return u"An unknown error occurred while accessing %1.";
}

// Paths on Linux are bytes that need not be UTF-8; a message must never fail over them.
std::u16string PathText(const std::filesystem::path& path) {
#ifdef _WIN32
    const std::wstring& native = path.native();
    return std::u16string(native.begin(), native.end());
#else
    return Utf8ToUtf16(path.native());
#endif
}

}  // namespace

std::u16string FileErrorText(FileErrorKind kind, const std::filesystem::path& path) {
    std::u16string text = TemplateFor(kind);
    const std::u16string name =
        kind == FileErrorKind::EndOfFile ? std::u16string(u"an unnamed file") : PathText(path);
    if (const size_t at = text.find(u"%1"); at != std::u16string::npos) {
        text.replace(at, 2, name);
    }
    return text;
}
