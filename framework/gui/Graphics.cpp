#include "framework/gui/Graphics.h"

#include "framework/gui/Picture.h"

#include <QImage>
#include <QPainter>

namespace fw {

Graphics::Graphics(QImage& image) : mImage(&image), mArea(image.rect()) {}

Graphics::Graphics(QPainter& painter, const QRect& area) : mPainter(&painter), mArea(area) {}

int Graphics::Width() const {
    return mArea.width();
}
int Graphics::Height() const {
    return mArea.height();
}

template <class Paint>
void Graphics::Draw(Paint paint) {
    if (mPainter != nullptr) {
        mPainter->save();
        mPainter->setClipRect(mArea, Qt::IntersectClip);
        mPainter->translate(mArea.topLeft());
        paint(*mPainter);
        mPainter->restore();
        return;
    }
    QPainter painter(mImage);
    paint(painter);
}

void Graphics::FillRect(int x, int y, int width, int height) {
    if (width <= 0 || height <= 0) {
        return;
    }
    Draw([&](QPainter& painter) { painter.fillRect(QRect(x, y, width, height), mForeColor); });
}

void Graphics::DrawPicture(const Picture* picture, int x, int y, int destWidth, int destHeight,
                           int sourceX, int sourceY, int sourceWidth, int sourceHeight) {
    if (picture == nullptr) {
        return;
    }
    auto whole = [](int size, int pictureSize) { return size == kWhole ? pictureSize : size; };
    const QRect source(sourceX, sourceY, whole(sourceWidth, picture->Width()),
                       whole(sourceHeight, picture->Height()));
    const QRect target(x, y, whole(destWidth, source.width()), whole(destHeight, source.height()));
    if (source.width() <= 0 || source.height() <= 0 || target.width() <= 0 ||
        target.height() <= 0) {
        return;
    }
    const QImage image = picture->ToImage();
    Draw([&](QPainter& painter) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(target, image, source);
    });
}

}  // namespace fw
