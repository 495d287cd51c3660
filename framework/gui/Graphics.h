#pragma once
// A drawing context of the framework: a picture's pixels or one cell of a list while it paints.
// Coordinates start at the context's top left corner; drawing outside it is clipped away.
// Main thread only. Borrowed: valid while the picture or the paint event that handed it out.

#include "framework/gui/Color.h"

#include <QRect>
#include <memory>

class QImage;
class QPainter;

namespace fw {

class Picture;

class Graphics {
public:
    // Draws into image, which must outlive the context.
    explicit Graphics(QImage& image);
    // Draws into area of what painter paints on; painter must outlive the context.
    Graphics(QPainter& painter, const QRect& area);

    Graphics(const Graphics&) = delete;
    Graphics& operator=(const Graphics&) = delete;

    int Width() const;
    int Height() const;

    Color ForeColor() const { return mForeColor; }
    void SetForeColor(const Color& color) { mForeColor = color; }

    // Fills the rectangle with ForeColor; a rectangle without area draws nothing.
    void FillRect(int x, int y, int width, int height);

    // The value that stands for "the whole picture" in DrawPicture's sizes.
    static constexpr int kWhole = -10000;

    // Draws the part (sourceX, sourceY, sourceWidth, sourceHeight) of picture, seen through its
    // mask, scaled into (x, y, destWidth, destHeight). kWhole as a size means the picture's own
    // width or height. Drawing no picture (null) draws nothing.
    void DrawPicture(const Picture* picture, int x, int y, int destWidth = kWhole,
                     int destHeight = kWhole, int sourceX = 0, int sourceY = 0,
                     int sourceWidth = kWhole, int sourceHeight = kWhole);
    void DrawPicture(const std::shared_ptr<Picture>& picture, int x, int y, int destWidth = kWhole,
                     int destHeight = kWhole, int sourceX = 0, int sourceY = 0,
                     int sourceWidth = kWhole, int sourceHeight = kWhole) {
        DrawPicture(picture.get(), x, y, destWidth, destHeight, sourceX, sourceY, sourceWidth,
                    sourceHeight);
    }

private:
    template <class Paint>
    void Draw(Paint paint);

    QImage* mImage = nullptr;
    QPainter* mPainter = nullptr;
    QRect mArea;
    Color mForeColor = RGB(0, 0, 0);
};

}  // namespace fw
