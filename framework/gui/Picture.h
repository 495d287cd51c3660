#pragma once
// Pictures of the framework: pixels with an optional mask. In a mask black is opaque, white is
// transparent and grey lies between. Counted references (std::shared_ptr); main thread only.

#include <QIcon>
#include <QImage>
#include <memory>

namespace fw {

class Graphics;

class Picture {
public:
    // width by height white, opaque pixels without a mask; sizes must be positive.
    Picture(int width, int height);
    // Takes image as it is (its alpha channel included), without a mask.
    explicit Picture(const QImage& image);
    ~Picture();

    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;

    int Width() const { return mImage.width(); }
    int Height() const { return mImage.height(); }

    // The context that draws into the pixels; it lives as long as the picture.
    fw::Graphics& Graphics();

    // The mask; with create, a new all-black (so all-opaque) one when there is none. Null when
    // there is none and create is false. It lives as long as the picture.
    Picture* Mask(bool create);
    bool HasMask() const { return mMask != nullptr; }

    // The pixels as drawn, without the mask.
    const QImage& Pixels() const { return mImage; }
    // What the picture shows: its pixels with the mask folded into their alpha channel.
    QImage ToImage() const;
    QIcon ToIcon() const;

private:
    QImage mImage;
    std::unique_ptr<fw::Graphics> mGraphics;
    std::unique_ptr<Picture> mMask;
};

// A new picture of width by height; the depth is accepted for every value and pixels are always
// 32-bit with alpha. None when a size is not positive.
std::shared_ptr<Picture> NewPicture(int width, int height, int depth);

}  // namespace fw
