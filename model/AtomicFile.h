// Whole-file writes that never leave a damaged file behind.
#pragma once

#include <filesystem>
#include <functional>

#include "model/ByteStream.h"

// Lets `write` fill a temporary file beside `path`, flushes it to the device, and only then
// renames it over `path`; a failure or a crash at any point leaves `path` as it was. Throws
// CFileException(WriteFailed) naming `path`; the temporary file is removed on failure.
void WriteFileAtomically(const std::filesystem::path& path,
                         const std::function<void(CByteSink&)>& write);
