// The board's command line as data: parsed by TargetBoard.exe, built by the harnesses.
#pragma once

#include "engine/PixelBuffer.h"

#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

struct BoardPictureArgument {
    // A 16-, 24- or 32-bit BMP file; empty for the built-in demo picture (MakeDemoPicture()).
    std::filesystem::path file;
    Point topLeft;  // screen point
    bool bHidden = false;
};

struct BoardArguments {
    std::filesystem::path logFile;
    // The window's screen rectangle; the whole primary screen when not given.
    std::optional<Rect> window;
    // In index order.
    std::vector<BoardPictureArgument> pictures;
};

// Reads the arguments after the program name (see BoardProtocol.h). On a bad command line
// returns nothing and sets `strError` to a message naming the fault.
std::optional<BoardArguments> ParseBoardArguments(std::span<const std::wstring> arguments,
                                                  std::wstring& strError);

// The arguments (without the program name) that ParseBoardArguments reads back as `arguments`.
std::vector<std::wstring> BoardArgumentList(const BoardArguments& arguments);

// A command line for CreateProcessW: `strProgram` and `arguments`, each quoted so that
// CommandLineToArgvW gives them back unchanged.
std::wstring BuildCommandLine(const std::wstring& strProgram,
                              std::span<const std::wstring> arguments);
