// The Target Editor's status line: its texts, and the top-left recovered from a found centre.
#include <gtest/gtest.h>

#include "capture/RecognizeStatus.h"
#include "engine/PictureSearch.h"

TEST(RecognizeStatusTest, TextsAndTheTopLeftOfEveryPictureSize) {
    EXPECT_EQ(FoundStatusText({-3, 1079}, {7, 1069}), "Found at (-3, 1079), clicks at (7, 1069)");
    EXPECT_EQ(NotFoundStatusText(std::nullopt), "Not on the screen");
    EXPECT_EQ(NotFoundStatusText(NearestMatch{{12, 0}, 3, 800, 17}),
              "Not on the screen\r\nNearest place (12, 0): 3 of 800 pixels differ");
    for (int32_t width = 1; width <= 6; ++width) {
        for (int32_t height = 1; height <= 6; ++height) {
            const Point topLeft{100 + width, 200 - height};
            EXPECT_EQ(TopLeftOfCentre(PictureCentre(topLeft, width, height), width, height),
                      topLeft)
                << width << " x " << height;
        }
    }
}
