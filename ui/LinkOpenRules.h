// What a hyperlink says when it cannot open its address, and the browser command line it falls
// back to. Platform-free.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

// The text of the error box for the result of an open (a ShellExecuteW or WinExec result of 32
// or less): "Unable to open hyperlink:\n\n" and the reason for that result.
std::wstring LinkOpenErrorText(std::intptr_t nResult);

// The command line that opens `url` with a browser's open command as the registry stores it
// (`command`, e.g. `"C:\b.exe" -nohome "%1"`): the command cut where the quoted "%1" begins, or
// else where a bare %1 begins (whole when neither occurs), then a blank and the address.
std::wstring FallbackCommandLine(std::wstring_view command, std::wstring_view url);

// Writes `content` to `path` unless the file already holds exactly these bytes. True when the
// file holds them afterwards; false when it cannot be written (a folder of that name, a missing
// folder, no access).
bool WriteFileIfDifferent(const std::filesystem::path& path, std::string_view content);
