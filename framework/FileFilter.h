// File-dialog filter and extension text in the "Name|*.ext||" form and its Win32 conversion.
// Platform-free: does not include <windows.h>, so native tests can reach it.
#pragma once

#include <string>
#include <string_view>

// Converts a filter written as "Name (*.ext)|*.ext|All Files (*.*)|*.*||" into the form the
// common file dialogs read: "Name (*.ext)\0*.ext\0All Files (*.*)\0*.*\0\0", with both final
// NULs inside the returned string. The list ends at the first empty name ("||") or at the end of
// the text; a name without a pattern is dropped because the dialog would read the next name as
// its pattern. Returns an empty string when no pair remains (the dialog then shows no filter).
std::wstring MakeDoubleNulFilter(std::wstring_view filter);

// The default extension as the file dialogs want it: without its leading dot ("trvk").
std::wstring_view ExtensionWithoutDot(std::wstring_view extension);
