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
    std::error_code error;
    return std::filesystem::copy_file(defaultFile, UnreadableCopyPath(defaultFile),
                                      std::filesystem::copy_options::overwrite_existing, error) &&
           !error;
}

bool IsMissingFile(FileErrorKind kind) {
    return kind == FileErrorKind::FileNotFound || kind == FileErrorKind::BadPath;
}
