#include "framework/gui/ResourceFork.h"

#include "framework/gui/Picture.h"

#include <QImage>
#include <utility>

namespace fw {

namespace {

Seam<PictureResourceReader> gReader;  // empty: the compiled-in resources

}  // namespace

QString PictureResourcePath(int id) {
    return QStringLiteral(":/PICT/%1").arg(id);
}

std::shared_ptr<Picture> ReadPictureResource(int id) {
    const QImage image(PictureResourcePath(id));
    if (image.isNull()) {
        return nullptr;
    }
    return std::make_shared<Picture>(image);
}

std::shared_ptr<Picture> ResourceFork::GetPicture(int id) const {
    const PictureResourceReader reader = gReader.Get();
    return reader ? reader(id) : ReadPictureResource(id);
}

const ResourceFork& AppResourceFork() {
    static const ResourceFork fork;
    return fork;
}

ScopedPictureResources::ScopedPictureResources(PictureResourceReader reader)
    : ScopedOverride(gReader, std::move(reader)) {}

}  // namespace fw
