// UTF-8 forms of paths, names and picture sizes for the command-line tool.
#include "tools/cli/CliText.h"

#include <cstdio>

#include "model/Picture.h"
#include "model/TextConvert.h"

std::string PathToUtf8(const std::filesystem::path& path) {
#ifdef _WIN32
    // path::u8string would throw on an unpaired surrogate, which Windows file names may hold.
    const std::wstring& native = path.native();
    return Utf16ToUtf8(std::u16string(native.begin(), native.end()));
#else
    return path.native();
#endif
}

std::string QuotedText(std::u16string_view text) {
    std::u16string escaped = u"\"";
    for (const char16_t unit : text) {
        switch (unit) {
            case u'"':
                escaped += u"\\\"";
                continue;
            case u'\\':
                escaped += u"\\\\";
                continue;
            case u'\n':
                escaped += u"\\n";
                continue;
            case u'\r':
                escaped += u"\\r";
                continue;
            case u'\t':
                escaped += u"\\t";
                continue;
            default:
                break;
        }
        const bool control =
            unit < 0x20 || (unit >= 0x7F && unit <= 0x9F) || unit == 0x2028 || unit == 0x2029;
        if (control) {
            char code[8];
            std::snprintf(code, sizeof code, "\\u%04X", static_cast<unsigned>(unit));
            escaped.append(code, code + 6);
        } else {
            escaped += unit;
        }
    }
    escaped += u'"';
    return Utf16ToUtf8(escaped);
}

std::string PictureSizeText(const CPicture& picture) {
    if (picture.IsNull()) {
        return "none";
    }
    const PixelBuffer* pixels = picture.Pixels();
    if (pixels == nullptr) {
        return "undecodable";
    }
    return std::to_string(pixels->Width()) + " x " + std::to_string(pixels->Height());
}
