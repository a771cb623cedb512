// UTF-16 to UTF-8 and back.
#include <gtest/gtest.h>

#include "model/FileErrors.h"
#include "model/TextConvert.h"

TEST(TextConvert, RoundTripsEveryPlane) {
    const std::u16string text = u"A\u00e4\u4e2d\U0001F600z";
    const std::string utf8 = Utf16ToUtf8(text);
    EXPECT_EQ(utf8, "A\xC3\xA4\xE4\xB8\xAD\xF0\x9F\x98\x80z");
    EXPECT_EQ(Utf8ToUtf16(utf8), text);
}

TEST(TextConvert, BrokenInputBecomesReplacementCharacters) {
    EXPECT_EQ(Utf16ToUtf8(std::u16string{0xD800, u'a'}),
              "\xEF\xBF\xBD"
              "a");
    EXPECT_EQ(Utf16ToUtf8(std::u16string{0xDC00}), "\xEF\xBF\xBD");
    EXPECT_EQ(Utf8ToUtf16("\xC3"), u"\uFFFD");                      // cut short
    EXPECT_EQ(Utf8ToUtf16("\xC0\x80"), u"\uFFFD\uFFFD");            // overlong
    EXPECT_EQ(Utf8ToUtf16("\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD");  // encoded surrogate
    EXPECT_EQ(Utf8ToUtf16("\xFF"
                          "b"),
              u"\uFFFDb");
}

#ifndef _WIN32
TEST(TextConvert, FileMessagesSurvivePathsThatAreNotUtf8) {
    const std::u16string text =
        FileErrorText(FileErrorKind::FileNotFound, std::filesystem::path("/tmp/\xFF.trvk"));
    EXPECT_EQ(text, u"/tmp/\uFFFD.trvk was not found.");
}
#endif
