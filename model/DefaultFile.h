// Where the default target list lives and how an unreadable one is kept aside.
#pragma once

#include "model/FileErrors.h"

#include <filesystem>

// The default list inside the user's application-data folder: <dataFolder>/Tarvik/Default.trvk.
std::filesystem::path DefaultFileIn(const std::filesystem::path& dataFolder);

// The name an unreadable default file is kept under, beside it: Default.unreadable.trvk.
std::filesystem::path UnreadableCopyPath(const std::filesystem::path& defaultFile);

// Copies a default file that could not be read to UnreadableCopyPath, replacing an older copy,
// so that the next autosave, which writes whatever list is current, cannot destroy the only copy
// (a file from a newer version, or one that another program held open at start-up). True when
// the copy is made; false leaves everything as it was.
bool KeepUnreadableDefaultFile(const std::filesystem::path& defaultFile);

// A default file that is simply not there (the first run, or the user deleted it): not worth a
// word to the user.
bool IsMissingFile(FileErrorKind kind);
