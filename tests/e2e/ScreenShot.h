// The screen's pixels, and screenshots of it as PNG files so that anyone can look at a scene
// afterwards.
#pragma once

#include "engine/PixelBuffer.h"

#include <filesystem>

// The primary screen as GDI shows it now, rows top-down; empty on failure.
PixelBuffer CaptureScreen();
// Writes `pixels` (rows top-down) to `file` as a PNG; false on failure.
bool SavePng(const PixelBuffer& pixels, const std::filesystem::path& file);
// CaptureScreen, then SavePng.
bool SaveScreenPng(const std::filesystem::path& file);
