// Writing through a temporary file and a rename.
#include "model/AtomicFile.h"

#include <system_error>

#include "model/FileErrors.h"

void WriteFileAtomically(const std::filesystem::path& path,
                         const std::function<void(CByteSink&)>& write) {
    std::filesystem::path temporary = path;
    temporary += u".saving";
    std::error_code error;
    // A write-protected file is left alone: replacing it by a rename needs only a writable
    // folder, so the protection would otherwise be silently ignored.
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    if (!error && std::filesystem::is_regular_file(status) &&
        (status.permissions() & std::filesystem::perms::owner_write) ==
            std::filesystem::perms::none) {
        throw CFileException(FileErrorKind::WriteFailed, path);
    }
    try {
        CFileSink sink(temporary);
        write(sink);
        sink.Close();
    } catch (...) {
        std::filesystem::remove(temporary, error);
        throw CFileException(FileErrorKind::WriteFailed, path);
    }
    std::filesystem::rename(temporary, path, error);
    if (error) {
        std::filesystem::remove(temporary, error);
        throw CFileException(FileErrorKind::WriteFailed, path);
    }
}
