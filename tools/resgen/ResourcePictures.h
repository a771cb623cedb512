// The complete set of picture files under res/ that the resource script embeds.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

namespace resgen {

struct PictureFile {
    std::filesystem::path relativePath;  // below the res folder, e.g. "icons/play.ico"
    std::vector<uint8_t> bytes;
};

// Draws and encodes every icon, bitmap and cursor. The result depends on nothing but this code.
std::vector<PictureFile> MakeResourcePictures();

// Writes every picture file below `resFolder`, creating the icons, bitmaps and cursors folders
// as needed and replacing files already there. Throws std::runtime_error when a file cannot be
// written.
void WriteResourcePictures(const std::filesystem::path& resFolder);

}  // namespace resgen
