// Draws the toolbar's pictures: each icon at 32 by 32 on white and its mask (black where the
// icon is opaque). Usage: make_toolbar_pictures FOLDER; writes connect.png, connect_mask.png,
// stop.png, stop_mask.png, text.png and text_mask.png there.
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <cmath>
#include <cstdio>
#include <functional>

namespace {

using Drawing = std::function<void(QPainter&, const std::function<QColor(QColor)>&)>;

// A network: a machine above, two below, joined by a cable.
void DrawConnect(QPainter& p, const std::function<QColor(QColor)>& ink) {
    p.setPen(QPen(ink(QColor(0x40, 0x40, 0x40)), 2.0, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(16, 10), QPointF(16, 16));
    p.drawLine(QPointF(7, 16), QPointF(25, 16));
    p.drawLine(QPointF(7, 16), QPointF(7, 21));
    p.drawLine(QPointF(25, 16), QPointF(25, 21));
    auto machine = [&](QRectF box) {
        p.setPen(QPen(ink(QColor(0x1d, 0x4f, 0x91)), 1.0));
        p.setBrush(ink(QColor(0x3b, 0x7d, 0xd8)));
        p.drawRoundedRect(box, 1.5, 1.5);
        p.setPen(Qt::NoPen);
        p.setBrush(ink(QColor(0xbf, 0xdc, 0xff)));
        p.drawRect(box.adjusted(2, 2, -2, -3));
    };
    machine(QRectF(10.5, 1.5, 11, 9));
    machine(QRectF(1.5, 21.5, 11, 9));
    machine(QRectF(19.5, 21.5, 11, 9));
}

// A stop sign: a red octagon with a white rim and a white bar.
void DrawStop(QPainter& p, const std::function<QColor(QColor)>& ink) {
    auto octagon = [](double radius) {
        QPolygonF shape;
        for (int i = 0; i < 8; ++i) {
            const double angle = (22.5 + 45.0 * i) * M_PI / 180.0;
            shape << QPointF(16 + radius * std::cos(angle), 16 + radius * std::sin(angle));
        }
        return shape;
    };
    p.setPen(QPen(ink(QColor(0x8a, 0x14, 0x10)), 1.0));
    p.setBrush(ink(QColor(0xff, 0xff, 0xff)));
    p.drawPolygon(octagon(15.0));
    p.setPen(Qt::NoPen);
    p.setBrush(ink(QColor(0xd8, 0x34, 0x2c)));
    p.drawPolygon(octagon(13.0));
    p.setBrush(ink(QColor(0xff, 0xff, 0xff)));
    p.drawRoundedRect(QRectF(7.5, 13.5, 17, 5), 1.0, 1.0);
}

// A document: a page with a folded corner and lines of text.
void DrawText(QPainter& p, const std::function<QColor(QColor)>& ink) {
    QPainterPath page;
    page.moveTo(5.5, 1.5);
    page.lineTo(19.5, 1.5);
    page.lineTo(26.5, 8.5);
    page.lineTo(26.5, 30.5);
    page.lineTo(5.5, 30.5);
    page.closeSubpath();
    p.setPen(QPen(ink(QColor(0x5a, 0x5a, 0x5a)), 1.0));
    p.setBrush(ink(QColor(0xff, 0xff, 0xff)));
    p.drawPath(page);
    QPainterPath fold;
    fold.moveTo(19.5, 1.5);
    fold.lineTo(19.5, 8.5);
    fold.lineTo(26.5, 8.5);
    fold.closeSubpath();
    p.setBrush(ink(QColor(0xd0, 0xd0, 0xd0)));
    p.drawPath(fold);
    p.setPen(QPen(ink(QColor(0x3b, 0x6e, 0xc4)), 2.0, Qt::SolidLine, Qt::FlatCap));
    for (int y : {13, 17, 21}) {
        p.drawLine(QPointF(9, y), QPointF(23, y));
    }
    p.drawLine(QPointF(9, 25), QPointF(17, 25));
}

bool Write(const QString& folder, const QString& name, const Drawing& draw) {
    bool written = true;
    for (bool mask : {false, true}) {
        QImage image(32, 32, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        draw(painter, [mask](QColor color) { return mask ? QColor(Qt::black) : color; });
        painter.end();
        const QString file = QDir(folder).filePath(name + (mask ? "_mask.png" : ".png"));
        written = image.save(file, "PNG") && written;
    }
    return written;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const bool ok = Write(folder, "connect", DrawConnect) && Write(folder, "stop", DrawStop) &&
                    Write(folder, "text", DrawText);
    return ok ? 0 : 1;
}
