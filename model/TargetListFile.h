// Whole target-list files: one list record, read from or written to a byte stream or a path.
#pragma once

#include <filesystem>
#include <memory>

#include "model/ByteStream.h"
#include "model/FileErrors.h"
#include "model/TargetObjList.h"

// Writes the record of `list` (class description, then the list body); sets its version to 1.
void WriteTargetList(CTargetObjList& list, CByteSink& sink, const std::filesystem::path& path);

// Reads one list record; its class must be "CTargetObjList" with schema 1. A file whose first
// four bytes are 06 00 FF FF is an empty list. Throws CFileException with the kind and `path`
// (used only in messages); nothing of a partly read list survives a failure.
std::unique_ptr<CTargetObjList> ReadTargetList(CByteSource& source,
                                               const std::filesystem::path& path);

// Opens `path` and reads it; open failures throw with their cause.
std::unique_ptr<CTargetObjList> LoadTargetListFile(const std::filesystem::path& path);

// Writes `list` to a temporary file beside `path`, and only when that is complete replaces
// `path` with it, so a failure or a crash at any point leaves the old file as it was. Throws
// CFileException(WriteFailed) naming `path`.
void SaveTargetListFile(CTargetObjList& list, const std::filesystem::path& path);
