// The resources embedded in the built Tarvik.exe: manifest, version information, icons, bitmaps
// and the cursor at the sizes the windows load them.
#include "tests/e2e/TarvikProcess.h"

#include "TarvikVersion.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <type_traits>
#include <vector>

namespace {

struct ModuleFreer {
    void operator()(HMODULE module) const { FreeLibrary(module); }
};
using UniqueModule = std::unique_ptr<std::remove_pointer_t<HMODULE>, ModuleFreer>;

std::wstring TarvikExePath() {
    return TestExeFolder() + L"\\Tarvik.exe";
}

// The RT_MANIFEST resource with the id Windows reads at process start, or "" if missing.
std::string ReadEmbeddedManifest(const std::wstring& exePath) {
    const UniqueModule module(LoadLibraryExW(exePath.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    if (!module) {
        return {};
    }
    const HRSRC info = FindResourceW(module.get(), MAKEINTRESOURCEW(1), RT_MANIFEST);
    if (info == nullptr) {
        return {};
    }
    const HGLOBAL loaded = LoadResource(module.get(), info);
    const auto* data = static_cast<const char*>(LockResource(loaded));
    if (data == nullptr) {
        return {};
    }
    return std::string(data, SizeofResource(module.get(), info));
}

// A string value of the version resource's US English/Unicode table, or L"" if missing.
std::wstring VersionString(const std::vector<BYTE>& versionInfo, const wchar_t* name) {
    const std::wstring path = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(versionInfo.data(), path.c_str(), &value, &length) || length == 0) {
        return {};
    }
    return std::wstring(static_cast<const wchar_t*>(value));
}

TEST(TarvikResources, ManifestRequestsCommonControls6AndPerMonitorV2Dpi) {
    const std::wstring exePath = TarvikExePath();
    const std::string manifest = ReadEmbeddedManifest(exePath);
    ASSERT_FALSE(manifest.empty()) << "no RT_MANIFEST resource 1 in " << exePath;
    EXPECT_NE(manifest.find("Microsoft.Windows.Common-Controls"), std::string::npos);
    EXPECT_NE(manifest.find("6595b64144ccf1df"), std::string::npos);
    EXPECT_NE(manifest.find("PerMonitorV2"), std::string::npos);
    EXPECT_NE(manifest.find("asInvoker"), std::string::npos);
}

TEST(TarvikResources, VersionInfoNamesProductAndFileVersion) {
    const std::wstring exePath = TarvikExePath();
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(exePath.c_str(), &ignored);
    ASSERT_GT(size, 0u) << "no version resource in " << exePath;
    std::vector<BYTE> versionInfo(size);
    ASSERT_TRUE(GetFileVersionInfoW(exePath.c_str(), 0, size, versionInfo.data()));

    void* fixedValue = nullptr;
    UINT fixedLength = 0;
    ASSERT_TRUE(VerQueryValueW(versionInfo.data(), L"\\", &fixedValue, &fixedLength));
    ASSERT_GE(fixedLength, sizeof(VS_FIXEDFILEINFO));
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(fixedValue);
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(TARVIK_VERSION_MINOR, TARVIK_VERSION_MAJOR));
    EXPECT_EQ(fixed->dwFileVersionLS, MAKELONG(0, TARVIK_VERSION_PATCH));
    EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
    EXPECT_EQ(fixed->dwProductVersionLS, fixed->dwFileVersionLS);

    EXPECT_EQ(VersionString(versionInfo, L"ProductName"), L"Tarvik");
    EXPECT_EQ(VersionString(versionInfo, L"FileVersion"), L"" TARVIK_FILE_VERSION_TEXT);
    EXPECT_EQ(VersionString(versionInfo, L"ProductVersion"), L"" TARVIK_FILE_VERSION_TEXT);
}

TEST(TarvikResources, IconsBitmapsAndCursorLoadAtTheirSizes) {
    const UniqueModule module(
        LoadLibraryExW(TarvikExePath().c_str(), nullptr,
                       LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
    ASSERT_TRUE(module);
    struct Picture {
        UINT id;
        UINT type;
        int size;  // requested edge for icons; expected width for bitmaps and cursors
        int height;
    };
    // The panel shows 12-pixel "X" and "^", the 24-pixel Play states and small icons elsewhere;
    // Explorer shows the .trvk document icon (180) at 16, 32 and 48 pixels.
    const Picture pictures[] = {
        {128, IMAGE_ICON, 16, 16},   {128, IMAGE_ICON, 32, 32},   {129, IMAGE_ICON, 16, 16},
        {149, IMAGE_ICON, 12, 12},   {150, IMAGE_ICON, 12, 12},   {153, IMAGE_ICON, 16, 16},
        {154, IMAGE_ICON, 16, 16},   {156, IMAGE_ICON, 24, 24},   {157, IMAGE_ICON, 24, 24},
        {158, IMAGE_ICON, 16, 16},   {165, IMAGE_ICON, 24, 24},   {139, IMAGE_BITMAP, 16, 16},
        {169, IMAGE_BITMAP, 78, 18}, {170, IMAGE_BITMAP, 64, 64}, {138, IMAGE_CURSOR, 32, 32},
        {180, IMAGE_ICON, 16, 16},   {180, IMAGE_ICON, 32, 32},   {180, IMAGE_ICON, 48, 48},
    };
    for (const Picture& picture : pictures) {
        const int requested = picture.type == IMAGE_BITMAP ? 0 : picture.size;
        HANDLE handle = LoadImageW(module.get(), MAKEINTRESOURCEW(picture.id), picture.type,
                                   requested, requested, 0);
        ASSERT_NE(handle, nullptr) << "resource " << picture.id;
        SIZE size{};
        if (picture.type == IMAGE_BITMAP) {
            BITMAP info{};
            GetObjectW(handle, sizeof info, &info);
            size = {info.bmWidth, info.bmHeight};
            DeleteObject(handle);
        } else {
            ICONINFO info{};
            ASSERT_TRUE(GetIconInfo(static_cast<HICON>(handle), &info)) << picture.id;
            BITMAP mask{};
            GetObjectW(info.hbmMask, sizeof mask, &mask);
            // A monochrome cursor or icon keeps AND and XOR masks in one bitmap of double height.
            size = {mask.bmWidth, info.hbmColor != nullptr ? mask.bmHeight : mask.bmHeight / 2};
            if (picture.type == IMAGE_CURSOR) {
                EXPECT_EQ(info.xHotspot, 16u);
                EXPECT_EQ(info.yHotspot, 15u);
            }
            DeleteObject(info.hbmMask);
            if (info.hbmColor != nullptr) {
                DeleteObject(info.hbmColor);
            }
            picture.type == IMAGE_ICON ? DestroyIcon(static_cast<HICON>(handle))
                                       : DestroyCursor(static_cast<HCURSOR>(handle));
        }
        EXPECT_EQ(size.cx, picture.size) << "resource " << picture.id;
        EXPECT_EQ(size.cy, picture.height) << "resource " << picture.id;
    }
}

}  // namespace
