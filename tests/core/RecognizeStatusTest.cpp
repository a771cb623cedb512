// The Target Editor's status line: its texts, with desktop points left of and above the primary.
#include <gtest/gtest.h>

#include "capture/RecognizeStatus.h"

TEST(RecognizeStatusTest, Texts) {
    EXPECT_EQ(FoundStatusText({-3, 1079}, {7, 1069}), "Found at (-3, 1079), clicks at (7, 1069)");
    EXPECT_EQ(NotFoundStatusText(std::nullopt), "Not on the screen");
    EXPECT_EQ(NotFoundStatusText(NearestMatch{{12, 0}, 3, 800, 17}),
              "Not on the screen\r\nNearest place (12, 0): 3 of 800 pixels differ");
    EXPECT_EQ(FoundStatusText({-1024, -300}, {-1019, -295}),
              "Found at (-1024, -300), clicks at (-1019, -295)");
    EXPECT_EQ(NotFoundStatusText(NearestMatch{{-700, -12}, 0, 4, 0}),
              "Not on the screen\r\nNearest place (-700, -12): 0 of 4 pixels differ");
}
