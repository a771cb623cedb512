// The default name offered by Save and the extension rule for the name chosen.
#include "model/SaveFileName.h"

#include <array>

namespace {

char16_t AsciiLower(char16_t c) {
    return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

}  // namespace

std::u16string DefaultSaveName(const std::tm& localTime) {
    std::array<char, 64> buffer{};
    const size_t length =
        std::strftime(buffer.data(), buffer.size(), "Tarvik-%Y-%m-%d-%H-%M-%S", &localTime);
    return std::u16string(buffer.data(), buffer.data() + length);
}

std::u16string WithTargetListExtension(std::u16string path) {
    static constexpr std::u16string_view kExtension = u".trvk";
    bool bHasExtension = path.size() >= kExtension.size();
    for (size_t i = 0; bHasExtension && i < kExtension.size(); ++i) {
        bHasExtension = AsciiLower(path[path.size() - kExtension.size() + i]) == kExtension[i];
    }
    if (!bHasExtension) {
        path += kExtension;
    }
    return path;
}
