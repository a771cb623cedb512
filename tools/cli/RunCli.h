// The command-line tool as a function: arguments in, text and an exit status out.
#pragma once

#include <filesystem>
#include <ostream>
#include <vector>

// Exit statuses of tarvik-cli.
constexpr int kExitSuccess = 0;
constexpr int kExitUsage = 1;      // unknown command or wrong number of arguments
constexpr int kExitFileError = 2;  // a target-list or picture file could not be read or written
constexpr int kExitFailure = 3;    // anything else, such as running out of memory

// Runs the command in `args` (the arguments after the program name; paths exactly as the
// system gave them). Results go to `out`; usage errors print the usage on `err`, file errors
// "tarvik-cli: <path>: <message>".
int RunCli(const std::vector<std::filesystem::path>& args, std::ostream& out, std::ostream& err);

// The usage text, ending in a newline.
const char* CliUsage();
