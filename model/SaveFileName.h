// Names for the Save command: the offered default name and the enforced extension.
#pragma once

#include <ctime>
#include <string>

// "Tarvik-" and the local time as %Y-%m-%d-%H-%M-%S, e.g. Tarvik-2014-03-09-17-05-42.
std::u16string DefaultSaveName(const std::tm& localTime);

// `path` with ".trvk" appended unless its last five characters already are ".trvk" in any case
// (list.TRVK stays, list.txt becomes list.txt.trvk).
std::u16string WithTargetListExtension(std::u16string path);
