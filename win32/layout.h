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

// How many screen pixels wide each pixel of a picture (the texture and its outline, the arrows) is
// drawn: a whole number, so that every picture pixel is the same size and edges stay sharp. The
// largest that fits the layout's place for the picture, and never less than 1.
int PictureScale(int dpi);

}  // namespace win32
