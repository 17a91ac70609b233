#include "win32/layout.h"

#include <algorithm>
#include <cmath>

namespace win32 {

int TwipsToPixels(int twips, int dpi) {
    return static_cast<int>(std::lround(static_cast<double>(twips) * dpi / kTwipsPerInch));
}

Pixels ToPixels(const Twips& twips, int dpi) {
    return {TwipsToPixels(twips.left, dpi), TwipsToPixels(twips.top, dpi), TwipsToPixels(twips.width, dpi),
            TwipsToPixels(twips.height, dpi)};
}

int PointsToPixels(double points, int dpi) {
    return static_cast<int>(std::lround(points * dpi / kPointsPerInch));
}

int PictureScale(int dpi) { return std::max(1, dpi / kLayoutDpi); }

}  // namespace win32
