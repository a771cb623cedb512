// What Tarvik finds when it starts and leaves behind: its registry values, its default target
// list, and target-list files made and read with the program's own writer and reader.
#pragma once

#include "model/TargetObjList.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

// The settings values under HKCU\Software\Tarvik\Tarvik.
inline constexpr wchar_t kMainTop[] = L"MainTop";
inline constexpr wchar_t kMainLeft[] = L"MainLeft";
inline constexpr wchar_t kMainHeight[] = L"MainHaight";  // the stored name, spelled so

// Deletes every value Tarvik reads at start-up, so it starts as on a first run.
void DeleteStoredSettings();
void WriteSetting(const wchar_t* pszName, int32_t nValue);
// The stored REG_DWORD, or nothing when it is missing.
std::optional<int32_t> ReadSetting(const wchar_t* pszName);

// <application data>\Tarvik\Default.trvk of the current user.
std::filesystem::path DefaultListPath();
// Removes the default list, so Tarvik starts with an empty list.
void RemoveDefaultList();

// A folder on the C: drive for the lists a test saves and loads; emptied by ResetScratchFolder.
std::filesystem::path ScratchFolder();
void ResetScratchFolder();

// `nCount` targets with small distinct pictures and names "Target 1", ...; the list order is
// reversed against the display order (m_nOrder), as after reordering tiles.
std::unique_ptr<CTargetObjList> MakeTargetList(int nCount, uint32_t nSeed = 1);
// Writes `nCount` targets to `path` with the program's writer and returns the list written.
std::unique_ptr<CTargetObjList> WriteTargetListFile(const std::filesystem::path& path, int nCount,
                                                    uint32_t nSeed = 1);
// Reads a list with the program's reader; null (with the reason in `strError`) when it fails.
std::unique_ptr<CTargetObjList> ReadTargetListFile(const std::filesystem::path& path,
                                                   std::string* pstrError = nullptr);
// The bytes of an empty list as the program's writer makes them.
std::vector<uint8_t> EmptyListBytes();

std::vector<uint8_t> FileBytes(const std::filesystem::path& path);
void WriteFileBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes);

// Same targets: names, order numbers, rectangles, click shifts and picture pixels, matched by
// order number.
::testing::AssertionResult SameTargets(const CTargetObjList& expected,
                                       const CTargetObjList& actual);
