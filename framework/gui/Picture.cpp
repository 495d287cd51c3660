#include "framework/gui/Picture.h"

#include "framework/gui/Graphics.h"

#include <QColor>
#include <QPixmap>

namespace fw {

namespace {

// Black is opaque, white transparent; a transparent mask pixel counts as white.
int MaskOpacity(QRgb maskPixel) {
    const int alpha = qAlpha(maskPixel);
    const int whiteness = (qGray(maskPixel) * alpha + 255 * (255 - alpha)) / 255;
    return 255 - whiteness;
}

}  // namespace

Picture::Picture(int width, int height)
    : mImage(width, height, QImage::Format_ARGB32_Premultiplied) {
    mImage.fill(Qt::white);
}

Picture::Picture(const QImage& image)
    : mImage(image.convertToFormat(QImage::Format_ARGB32_Premultiplied)) {}

Picture::~Picture() = default;

fw::Graphics& Picture::Graphics() {
    if (!mGraphics) {
        mGraphics = std::make_unique<fw::Graphics>(mImage);
    }
    return *mGraphics;
}

Picture* Picture::Mask(bool create) {
    if (!mMask && create) {
        mMask = std::make_unique<Picture>(Width(), Height());
        mMask->mImage.fill(Qt::black);
    }
    return mMask.get();
}

QImage Picture::ToImage() const {
    QImage image = mImage.convertToFormat(QImage::Format_ARGB32);
    if (!mMask) {
        return image;
    }
    const QImage mask = mMask->mImage.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        const auto* maskLine = reinterpret_cast<const QRgb*>(mask.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int alpha = qAlpha(line[x]) * MaskOpacity(maskLine[x]) / 255;
            line[x] = qRgba(qRed(line[x]), qGreen(line[x]), qBlue(line[x]), alpha);
        }
    }
    return image;
}

QIcon Picture::ToIcon() const {
    return QIcon(QPixmap::fromImage(ToImage()));
}

std::shared_ptr<Picture> NewPicture(int width, int height, int /*depth*/) {
    if (width <= 0 || height <= 0) {
        return nullptr;
    }
    return std::make_shared<Picture>(width, height);
}

}  // namespace fw
