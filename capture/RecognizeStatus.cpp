// The status line texts of the Target Editor's recognition test.
#include "capture/RecognizeStatus.h"

namespace {

std::string PointText(Point point) {
    return "(" + std::to_string(point.x) + ", " + std::to_string(point.y) + ")";
}

}  // namespace

std::string FoundStatusText(Point topLeft, Point click) {
    return "Found at " + PointText(topLeft) + ", clicks at " + PointText(click);
}

std::string NotFoundStatusText(const std::optional<NearestMatch>& nearest) {
    std::string text = "Not on the screen";
    if (nearest) {
        // A static control breaks the line here; the pair keeps the text readable when copied.
        text += "\r\nNearest place " + PointText(nearest->topLeft) + ": " +
                std::to_string(nearest->differingPixels) + " of " +
                std::to_string(nearest->pixelCount) + " pixels differ";
    }
    return text;
}
