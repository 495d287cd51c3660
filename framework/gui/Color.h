#pragma once
// Colours of the framework: red, green and blue from 0 to 255.

#include <QColor>

namespace fw {

struct Color {
    int red = 0;
    int green = 0;
    int blue = 0;

    QColor ToQColor() const { return QColor(red, green, blue); }
    friend bool operator==(const Color&, const Color&) = default;
};

// Components outside 0..255 are clamped.
constexpr Color RGB(int red, int green, int blue) {
    auto clamp = [](int v) { return v < 0 ? 0 : (v > 255 ? 255 : v); };
    return Color{clamp(red), clamp(green), clamp(blue)};
}

}  // namespace fw
