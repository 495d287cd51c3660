#pragma once
// The framework's colours are Qt's own; RGB makes an opaque one from red, green and blue.

#include <QColor>
#include <algorithm>

namespace fw {

using Color = QColor;

// Components outside 0..255 are clamped.
inline Color RGB(int red, int green, int blue) {
    return QColor(std::clamp(red, 0, 255), std::clamp(green, 0, 255), std::clamp(blue, 0, 255));
}

}  // namespace fw
