// "tarvik-cli export": every target's pictures as BMP files in a folder.
#pragma once

#include <cstddef>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "model/Picture.h"
#include "model/TargetObjList.h"

// One picture of one target and the file name it is exported under.
struct ExportFile {
    const CTargetObj* target;
    const CPicture* picture;
    const char* kind;      // "target" or "area"
    std::string fileName;  // "<order>-<kind>.bmp"; "<order>-pos<list position>-<kind>.bmp" when
                           // other targets share the order, so that no two names collide
};

// Both pictures of every target, null ones included, in display order (target before area).
std::vector<ExportFile> PlanExport(const CTargetObjList& list);

// Creates `dir` when missing and writes each picture's BMP image (for a loaded picture the stored
// image byte for byte) into it, replacing files of the same name; skips null pictures. Reports
// every file written or skipped on `log`. File errors throw CFileException.
void ExportPictures(const CTargetObjList& list, const std::filesystem::path& dir,
                    std::ostream& log);

// Loads `file` and exports its pictures into `dir`.
void RunExport(const std::filesystem::path& file, const std::filesystem::path& dir,
               std::ostream& log);
