// File names, resource ids and image sizes of the pictures under res/.
#include "tools/resgen/ResourcePictures.h"

#include <fstream>
#include <span>
#include <stdexcept>
#include <string>

#include "tools/resgen/BitmapArt.h"
#include "tools/resgen/IconArt.h"
#include "tools/resgen/ImageFiles.h"
#include "tools/resgen/TitleArt.h"

namespace resgen {
namespace {

// Every size a button asks for at 100, 125, 150 and 200 % scaling: the small icons' 16 (20, 24,
// 32), the Play button's 24 (30, 36, 48), and the standard and large icon sizes; the two
// title-strip buttons show theirs at 12 x 12 (18 and 24; at 125 % the 16 is near enough). A size
// the file lacks would be stretched from another and blur.
std::vector<uint8_t> IconFile(IconPicture picture, bool withTwelve) {
    static constexpr int kSizes[] = {16, 20, 24, 30, 32, 36, 48};
    static constexpr int kSizesWithTwelve[] = {12, 16, 18, 20, 24, 30, 32, 36, 48};
    std::vector<Canvas> images;
    for (const int size :
         withTwelve ? std::span<const int>(kSizesWithTwelve) : std::span<const int>(kSizes)) {
        images.push_back(DrawIcon(picture, size));
    }
    return EncodeIcoFile(images);
}

}  // namespace

std::vector<PictureFile> MakeResourcePictures() {
    return {
        {"icons/app.ico", IconFile(IconPicture::App, false)},                     // 128
        {"icons/select.ico", IconFile(IconPicture::SelectTarget, false)},         // 129
        {"icons/hide.ico", IconFile(IconPicture::Hide, true)},                    // 149
        {"icons/fly.ico", IconFile(IconPicture::FlyWindow, true)},                // 150
        {"icons/file.ico", IconFile(IconPicture::File, false)},                   // 153
        {"icons/help.ico", IconFile(IconPicture::Help, false)},                   // 154
        {"icons/play.ico", IconFile(IconPicture::Play, false)},                   // 156
        {"icons/playing.ico", IconFile(IconPicture::Playing, false)},             // 157
        {"icons/settings.ico", IconFile(IconPicture::Settings, false)},           // 158
        {"icons/play-disabled.ico", IconFile(IconPicture::PlayDisabled, false)},  // 165
        {"icons/document.ico", IconFile(IconPicture::Document, false)},           // 180
        {"bitmaps/tile-menu.bmp", EncodeBmp24File(DrawTileMenuBadge())},          // 139
        {"bitmaps/title.bmp", EncodeBmp24File(DrawTitle())},                      // 169
        {"bitmaps/sight.bmp", EncodeBmp24File(DrawSight())},                      // 170
        {"cursors/crosshair.cur", EncodeCurFile(DrawCrosshairCursor())},          // 138
    };
}

void WriteResourcePictures(const std::filesystem::path& resFolder) {
    for (const PictureFile& file : MakeResourcePictures()) {
        const std::filesystem::path path = resFolder / file.relativePath;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(file.bytes.data()),
                  static_cast<std::streamsize>(file.bytes.size()));
        out.close();
        if (!out) {
            throw std::runtime_error("cannot write " + path.string());
        }
    }
}

}  // namespace resgen
