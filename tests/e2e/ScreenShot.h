// The screen's pixels, and screenshots of it as PNG files so that anyone can look at a scene
// afterwards.
#pragma once

#include "engine/DesktopCoords.h"
#include "engine/PixelBuffer.h"

#include <filesystem>

// The primary screen as GDI shows it now, rows top-down; empty on failure.
PixelBuffer CaptureScreen();
// Every monitor as GDI shows it now: the whole virtual screen, with its desktop origin (the
// primary screen alone when there is one monitor); empty pixels on failure. Where no monitor is,
// the pixels say nothing.
DesktopImage CaptureDesktop();
// Writes `pixels` (rows top-down) to `file` as a PNG; false on failure.
bool SavePng(const PixelBuffer& pixels, const std::filesystem::path& file);
// CaptureDesktop, then SavePng: a screenshot of every monitor.
bool SaveScreenPng(const std::filesystem::path& file);
