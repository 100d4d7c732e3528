#pragma once

namespace zondari {

// The screen as the program measures it: in twips, 1440 to the inch.
class Screen {
public:
    virtual ~Screen() = default;
    virtual int widthTwips() const = 0;
    virtual int heightTwips() const = 0;
    // Twips per pixel: 1440 / logical DPI (15 at 96 DPI).
    virtual double twipsPerPixel() const = 0;

    int toPixels(double twips) const { return static_cast<int>(twips / twipsPerPixel() + 0.5); }
    double toTwips(int pixels) const { return pixels * twipsPerPixel(); }
};

} // namespace zondari
