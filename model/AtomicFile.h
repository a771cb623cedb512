// Whole-file writes that never leave a damaged file behind.
#pragma once

#include <chrono>
#include <filesystem>
#include <functional>

#include "model/ByteStream.h"

// Lets `write` fill a temporary file beside `path` (SavingPathFor), flushes it to the device,
// and only then renames it over `path`; a failure or a crash at any point leaves `path` as it
// was. Throws CFileException(WriteFailed) naming `path`; the temporary file is removed on
// failure. Temporary files of `path` left by a crash (older than kStaleSavingAge) are removed.
void WriteFileAtomically(const std::filesystem::path& path,
                         const std::function<void(CByteSink&)>& write);

// The temporary file a save of `path` in this process writes: "<name>.<process id>.saving"
// beside it, so that two processes saving the same file at once never share one.
std::filesystem::path SavingPathFor(const std::filesystem::path& path);

// A temporary file of another save this old is taken for one a crash left behind: no save
// takes this long.
inline constexpr std::chrono::minutes kStaleSavingAge{10};
