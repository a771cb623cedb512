// Writing through a temporary file and a rename.
#include "model/AtomicFile.h"

#include <system_error>

#include "model/FileErrors.h"

void WriteFileAtomically(const std::filesystem::path& path,
                         const std::function<void(CByteSink&)>& write) {
    std::filesystem::path temporary = path;
    temporary += u".saving";
    std::error_code error;
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
