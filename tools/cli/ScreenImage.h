// Reading a screen picture for the command-line tool: a BMP or PNG file as top-down pixels.
#pragma once

#include <filesystem>

#include "engine/PixelBuffer.h"

// Reads `path`, a BMP image (any depth DecodeBmp takes) or a PNG image (any colour type; alpha is
// dropped), into top-down pixels with 0 in every fourth byte. Throws CFileException: the open
// failures with their cause, and BadFormat for anything else or an undecodable image.
PixelBuffer LoadScreenImage(const std::filesystem::path& path);
