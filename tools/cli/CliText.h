// Console text of the command-line tool: paths, quoted names and picture sizes as UTF-8.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

class CPicture;

// The path as UTF-8 without ever throwing: UTF-16 paths convert (unpaired surrogates become
// U+FFFD); byte paths are printed as they are.
std::string PathToUtf8(const std::filesystem::path& path);

// The text in double quotes, with backslashes, quotes and control characters escaped so that
// every name prints on one line and an empty or space-padded name stays visible.
std::string QuotedText(std::u16string_view text);

// "40 x 20", "none" for no picture, "undecodable" for a stored image without pixels.
std::string PictureSizeText(const CPicture& picture);
