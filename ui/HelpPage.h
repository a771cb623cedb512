// The help page shipped inside Tarvik.exe: written to the data folder when asked for, then opened
// from there.
#pragma once

#include <filesystem>
#include <optional>

// Where the page lives in `folder` (the default file's folder).
std::filesystem::path HelpPagePath(const std::filesystem::path& folder);

// Writes the page into `folder` (created when missing) unless the file there already holds it;
// its path, or nothing when it cannot be written.
std::optional<std::filesystem::path> WriteHelpPage(const std::filesystem::path& folder);
