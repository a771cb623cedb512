// "tarvik-cli info": a readable description of a target-list file.
#pragma once

#include <filesystem>
#include <ostream>

#include "model/TargetObjList.h"

// Writes the header, version and count, then one block per target in display order:
//   Order 0: "name"
//     Target rectangle: left 10, top 20, right 50, bottom 40
//     Click shift:      x 3, y -4
//     Target picture:   40 x 20
//     Area picture:     none
void WriteListInfo(const CTargetObjList& list, std::ostream& out);

// Loads `file` and describes it; file errors throw CFileException.
void RunInfo(const std::filesystem::path& file, std::ostream& out);
