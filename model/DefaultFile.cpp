// The default file's path rules and the copy kept of an unreadable one.
#include "model/DefaultFile.h"

#include <system_error>

std::filesystem::path DefaultFileIn(const std::filesystem::path& dataFolder) {
    return dataFolder / u"Tarvik" / u"Default.trvk";
}

std::filesystem::path UnreadableCopyPath(const std::filesystem::path& defaultFile) {
    std::filesystem::path copy = defaultFile;
    copy.replace_extension(u".unreadable.trvk");
    return copy;
}

bool KeepUnreadableDefaultFile(const std::filesystem::path& defaultFile) {
    // Copied to a fresh name and renamed over an older copy: copy_file's overwrite_existing fails
    // on Windows builds when the copy exists, which left the newer file unkept and the autosave
    // free to replace it. The rename also never leaves half a copy.
    const std::filesystem::path copy = UnreadableCopyPath(defaultFile);
    std::filesystem::path temporary = copy;
    temporary += u".tmp";
    std::error_code error;
    std::filesystem::remove(temporary, error);
    error.clear();
    if (!std::filesystem::copy_file(defaultFile, temporary, error) || error) {
        std::filesystem::remove(temporary, error);
        return false;
    }
    std::filesystem::rename(temporary, copy, error);
    if (error) {
        std::filesystem::remove(temporary, error);
        return false;
    }
    return true;
}

bool IsMissingFile(FileErrorKind kind) {
    return kind == FileErrorKind::FileNotFound || kind == FileErrorKind::BadPath;
}
