// The Save command's offered name and its extension rule.
#include <gtest/gtest.h>

#include "model/SaveFileName.h"

TEST(SaveFileName, DefaultNameIsTheZeroPaddedLocalTime) {
    std::tm time{};
    time.tm_year = 2014 - 1900;
    time.tm_mon = 2;
    time.tm_mday = 9;
    time.tm_hour = 17;
    time.tm_min = 5;
    time.tm_sec = 42;
    EXPECT_EQ(DefaultSaveName(time), u"Tarvik-2014-03-09-17-05-42");
    time.tm_hour = 0;
    time.tm_min = 0;
    time.tm_sec = 0;
    time.tm_mon = 11;
    time.tm_mday = 31;
    EXPECT_EQ(DefaultSaveName(time), u"Tarvik-2014-12-31-00-00-00");
}

TEST(SaveFileName, ExtensionIsAddedUnlessTheNameEndsInTrvk) {
    EXPECT_EQ(WithTargetListExtension(u"C:\\lists\\list.TRVK"), u"C:\\lists\\list.TRVK");
    EXPECT_EQ(WithTargetListExtension(u"list.TrVk"), u"list.TrVk");
    EXPECT_EQ(WithTargetListExtension(u"list.trvk"), u"list.trvk");
    EXPECT_EQ(WithTargetListExtension(u"list.txt"), u"list.txt.trvk");
    EXPECT_EQ(WithTargetListExtension(u"list"), u"list.trvk");
    EXPECT_EQ(WithTargetListExtension(u"trvk"), u"trvk.trvk");
    EXPECT_EQ(WithTargetListExtension(u""), u".trvk");
    // Only ASCII letters fold: a look-alike stays a different name.
    EXPECT_EQ(WithTargetListExtension(u"list.trv\u212A"), u"list.trv\u212A.trvk");
}
