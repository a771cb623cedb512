// "tarvik-cli find": which target a play step would click on a screen picture.
#pragma once

#include <filesystem>
#include <ostream>
#include <vector>

#include "engine/TargetSearch.h"

// Runs "find LIST SCREEN [--all] [--explain] [--repeat N]" (`args` starts with "find"; the options
// may come anywhere after it). Prints the target a play step would click on SCREEN, a BMP or PNG
// picture of the whole screen, or "Not found"; --all first prints every target's own search result
// in display order; --explain does the same and adds, for each target not found, the place where it
// comes nearest (top-left), how many of its pixels differ there and the largest channel
// difference; --repeat N times the list search N times and prints the median. Returns
// kExitSuccess when a target would be clicked, kExitFailure when none would, kExitUsage for bad
// arguments (with the usage on `err`). File errors throw CFileException.
int RunFind(const std::vector<std::filesystem::path>& args, std::ostream& out, std::ostream& err);

// The lines describing a play step's click, as "find" prints them.
void WriteTargetHit(const TargetHit& hit, std::ostream& out);
