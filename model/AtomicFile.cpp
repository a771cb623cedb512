// Writing through a temporary file and a rename.
#include "model/AtomicFile.h"

#include <string>
#include <system_error>

#include "model/FileErrors.h"

#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif

namespace {

unsigned long ProcessId() {
#ifdef _WIN32
    return static_cast<unsigned long>(::_getpid());
#else
    return static_cast<unsigned long>(::getpid());
#endif
}

// Removes the temporary files of earlier saves of `path` that a crash left behind (with the
// older fixed name "<name>.saving" as well); a save under way elsewhere is younger and stays.
void RemoveStaleSavingFiles(const std::filesystem::path& path) {
    const std::u16string strPrefix = path.filename().u16string() + u".";
    const std::u16string strSuffix = u".saving";
    const auto now = std::filesystem::file_time_type::clock::now();
    std::error_code error;
    const std::filesystem::path folder =
        path.has_parent_path() ? path.parent_path() : std::filesystem::path(u".");
    std::filesystem::directory_iterator it(folder, error);
    for (; !error && it != std::filesystem::directory_iterator(); it.increment(error)) {
        const std::u16string strName = it->path().filename().u16string();
        const bool bSaving = strName == strPrefix + u"saving" ||
                             (strName.size() > strPrefix.size() + strSuffix.size() &&
                              strName.starts_with(strPrefix) && strName.ends_with(strSuffix));
        std::error_code fileError;
        if (!bSaving || !it->is_regular_file(fileError)) {
            continue;
        }
        const auto written = it->last_write_time(fileError);
        if (!fileError && now - written > kStaleSavingAge) {
            std::filesystem::remove(it->path(), fileError);
        }
    }
}

}  // namespace

std::filesystem::path SavingPathFor(const std::filesystem::path& path) {
    std::filesystem::path temporary = path;
    temporary += "." + std::to_string(ProcessId()) + ".saving";
    return temporary;
}

void WriteFileAtomically(const std::filesystem::path& path,
                         const std::function<void(CByteSink&)>& write) {
    const std::filesystem::path temporary = SavingPathFor(path);
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
    RemoveStaleSavingFiles(path);
}
