// Pictures that keep their stored form until they are replaced.
#include "model/Picture.h"

#include "model/BmpImage.h"
#include "model/PictureString.h"

CPicture::CPicture(PixelBuffer pixels) : m_bHasImage(!pixels.IsEmpty()) {
    if (m_bHasImage) {
        m_pixels = std::move(pixels);
    }
}

std::vector<uint8_t> CPicture::BmpImage() const {
    if (!m_strStoredUnits.empty()) {
        return PictureStringToBytes(m_strStoredUnits);
    }
    if (!m_storedBytes.empty()) {
        return m_storedBytes;
    }
    return m_pixels ? EncodeBmp(*m_pixels) : std::vector<uint8_t>{};
}

CPicture StringToPicture(std::u16string_view units) {
    CPicture picture;
    if (units.empty()) {
        return picture;
    }
    picture.m_bHasImage = true;
    std::vector<uint8_t> bytes = PictureStringToBytes(units);
    picture.m_pixels = DecodeBmp(bytes);
    // Most stored pictures are exactly what our encoder writes: then the pixels alone suffice
    // and a loaded list costs no more memory than its pictures.
    if (!IsCanonicalPictureString(units)) {
        picture.m_strStoredUnits.assign(units);
    } else if (!picture.m_pixels || EncodeBmp(*picture.m_pixels) != bytes) {
        picture.m_storedBytes = std::move(bytes);
    }
    return picture;
}

std::u16string PictureToString(const CPicture& picture) {
    if (!picture.m_strStoredUnits.empty()) {
        return picture.m_strStoredUnits;
    }
    return BytesToPictureString(picture.BmpImage());
}
