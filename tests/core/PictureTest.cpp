// Picture strings and pictures that keep their stored form through load and save.
#include <gtest/gtest.h>

#include "model/BmpImage.h"
#include "model/Picture.h"
#include "model/PictureString.h"
#include "tests/core/ModelTestUtil.h"

namespace {

// A BMP image with 24-bit bottom-up rows, padded to 4 bytes, and pixels-per-metre fields set, as
// other programs write them.
std::vector<uint8_t> Bmp24(int32_t width, int32_t height, uint32_t seed) {
    const uint32_t stride = ((static_cast<uint32_t>(width) * 3 + 3) / 4) * 4;
    std::vector<uint8_t> bytes;
    PutWord(bytes, 0x4D42);
    PutDword(bytes, 54 + stride * height);
    PutDword(bytes, 0);
    PutDword(bytes, 54);
    PutDword(bytes, 40);
    PutDword(bytes, static_cast<uint32_t>(width));
    PutDword(bytes, static_cast<uint32_t>(height));
    PutWord(bytes, 1);
    PutWord(bytes, 24);
    PutDword(bytes, 0);
    PutDword(bytes, stride * height);
    PutDword(bytes, 3780);
    PutDword(bytes, 3780);
    PutDword(bytes, 0);
    PutDword(bytes, 0);
    std::mt19937 random(seed);
    for (uint32_t i = 0; i < stride * static_cast<uint32_t>(height); ++i) {
        bytes.push_back(static_cast<uint8_t>(random()));
    }
    return bytes;
}

std::vector<uint8_t> FileWithAreaPicture(const std::u16string& areaUnits) {
    std::vector<uint8_t> bytes;
    CTargetObjList list;
    CTargetObj& target = list.AddCaptured(std::make_unique<CTargetObj>());
    target.m_bmpArea = StringToPicture(areaUnits);
    return WriteToBytes(list);
}

}  // namespace

TEST(PictureString, EscapesOnlyTheByte1A) {
    const std::vector<uint8_t> bytes = {0x1A, 0x02, 0x00, 0xFF, 0x06};
    const std::u16string units = BytesToPictureString(bytes);
    EXPECT_EQ(units, (std::u16string{0x0602, 0x0201, 0x0001, 0xFF01, 0x0601}));
    EXPECT_EQ(PictureStringToBytes(units), bytes);
    EXPECT_TRUE(IsCanonicalPictureString(units));
    EXPECT_EQ(units.find(u'\0'), std::u16string::npos);
}

TEST(PictureString, DecodingUsesTheHighByteOfAnyOtherUnit) {
    // Low byte 02 with a high byte other than 06, and low bytes other than 01.
    const std::u16string units = {0x0702, 0x1A01, 0x4105, 0x0602};
    EXPECT_EQ(PictureStringToBytes(units), (std::vector<uint8_t>{0x07, 0x1A, 0x41, 0x1A}));
    EXPECT_FALSE(IsCanonicalPictureString(units));
    EXPECT_FALSE(IsCanonicalPictureString(std::u16string{0x1A01}));  // re-encodes as 0602
}

TEST(Picture, ProgramMadePicturesEncodeAsThirtyTwoBitBitFields) {
    const CPicture picture(RandomPicture(3, 2, 5));
    const std::vector<uint8_t> image = PictureStringToBytes(PictureToString(picture));
    ASSERT_EQ(image.size(), 66u + 3 * 2 * 4);
    EXPECT_EQ(image[28], 32);  // bits per pixel
    EXPECT_EQ(image[30], 3);   // compression: bit fields
    EXPECT_EQ(image[10], 66);  // pixel data offset
    EXPECT_EQ(image, EncodeBmp(*picture.Pixels()));
    EXPECT_TRUE(CPicture().IsNull());
    EXPECT_TRUE(PictureToString(CPicture()).empty());
    EXPECT_TRUE(StringToPicture(u"").IsNull());
}

TEST(Picture, LoadedPicturesAreWrittenBackUnchanged) {
    struct Case {
        const char* what;
        std::u16string units;
        bool decodable;
    };
    std::vector<uint8_t> compression0 = EncodeBmp(RandomPicture(4, 3, 9));
    compression0[30] = 0;         // same pixels read as plain BGRx
    compression0[66 + 3] = 0x7F;  // and a nonzero fourth byte that the program would not write
    std::u16string oddUnits = BytesToPictureString(EncodeBmp(RandomPicture(2, 2, 1)));
    oddUnits[70] = static_cast<char16_t>((oddUnits[70] & 0xFF00) | 0x05);
    const std::vector<uint8_t> garbage = {'B', 'M', 1, 2, 3, 0x1A, 0xFF};
    const std::vector<Case> cases = {
        {"24-bit rows with padding and resolution fields", BytesToPictureString(Bmp24(5, 3, 2)),
         true},
        {"compression 0 with a fourth byte", BytesToPictureString(compression0), true},
        {"units with unusual low bytes", oddUnits, true},
        {"an image that cannot be decoded", BytesToPictureString(garbage), false},
    };
    for (const Case& c : cases) {
        const CPicture picture = StringToPicture(c.units);
        EXPECT_FALSE(picture.IsNull()) << c.what;
        EXPECT_EQ(picture.Pixels() != nullptr, c.decodable) << c.what;
        EXPECT_EQ(PictureToString(picture), c.units) << c.what;
        EXPECT_EQ(picture.BmpImage(), PictureStringToBytes(c.units)) << c.what;

        // Through a whole file and back, byte for byte.
        const std::vector<uint8_t> file = FileWithAreaPicture(c.units);
        EXPECT_EQ(WriteToBytes(*ReadFromBytes(file)), file) << c.what;
    }
}

TEST(Picture, TwentyFourBitPicturesDecodeToTheirPixels) {
    const std::vector<uint8_t> image = Bmp24(2, 2, 4);
    const CPicture picture = StringToPicture(BytesToPictureString(image));
    ASSERT_NE(picture.Pixels(), nullptr);
    // Bottom-up rows: the first stored row is the picture's last; stride 8 for 2 pixels.
    const uint8_t* bottomLeft = image.data() + 54;
    EXPECT_EQ(picture.Pixels()->At(0, 1), MakeBgr0(bottomLeft[2], bottomLeft[1], bottomLeft[0]));
    const uint8_t* topRight = image.data() + 54 + 8 + 3;
    EXPECT_EQ(picture.Pixels()->At(1, 0), MakeBgr0(topRight[2], topRight[1], topRight[0]));
}

TEST(Picture, UndecodableTargetPictureLoadsTheRestOfTheTarget) {
    CTargetObjList list;
    CTargetObj& target = list.AddCaptured(MakeTarget(u"kept", 4, 4, 1));
    target.m_bmpTarget = StringToPicture(BytesToPictureString(std::vector<uint8_t>(30, 0x42)));
    const std::vector<uint8_t> file = WriteToBytes(list);
    const std::unique_ptr<CTargetObjList> loaded = ReadFromBytes(file);
    const CTargetObj& read = **loaded->begin();
    EXPECT_EQ(read.m_strName, u"kept");
    EXPECT_EQ(read.m_bmpTarget.Pixels(), nullptr);
    EXPECT_FALSE(read.m_bmpTarget.IsNull());
    ASSERT_NE(read.m_bmpArea.Pixels(), nullptr);
    EXPECT_EQ(WriteToBytes(*loaded), file);
}
