#pragma once

// Where the window's controls go. The layout is drawn in twips (1/1440 inch), so it keeps its
// size on a screen of any density: 15 twips make a pixel at 96 DPI, 10 at 144 DPI.
namespace win32 {

inline constexpr int kTwipsPerInch = 1440;
inline constexpr int kPointsPerInch = 72;
inline constexpr int kLayoutDpi = 96;  // the density the layout's pixel sizes are given at

struct Twips {
    int left;
    int top;
    int width;
    int height;
};

struct Pixels {
    int x;
    int y;
    int width;
    int height;
    bool operator==(const Pixels&) const = default;
};

// Rounded to the nearest pixel, halves away from zero, as the Linux window rounds them.
int TwipsToPixels(int twips, int dpi);
Pixels ToPixels(const Twips& twips, int dpi);

// A font's height in pixels: the LOGFONT height of a font of that many points, as a positive number.
int PointsToPixels(double points, int dpi);

// The arrows are pictures of whole pixels: they grow only by whole steps, so they stay sharp.
int ArrowScale(int dpi);

}  // namespace win32
