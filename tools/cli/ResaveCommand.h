// "tarvik-cli resave": reads a target-list file and writes it to another path.
#pragma once

#include <filesystem>
#include <ostream>

// Loads `in` and saves the list to `out` atomically, so a failed save leaves `out` as it was;
// file errors throw CFileException.
void RunResave(const std::filesystem::path& in, const std::filesystem::path& out,
               std::ostream& log);
