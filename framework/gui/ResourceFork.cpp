#include "framework/gui/ResourceFork.h"

#include "framework/gui/Picture.h"

#include <QImage>
#include <utility>

namespace fw {

namespace {

PictureResourceReader& Reader() {
    static PictureResourceReader reader = ReadPictureResource;
    return reader;
}

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
    return Reader()(id);
}

const ResourceFork& AppResourceFork() {
    static const ResourceFork fork;
    return fork;
}

ScopedPictureResources::ScopedPictureResources(PictureResourceReader reader)
    : mPrevious(std::exchange(Reader(), std::move(reader))) {}

ScopedPictureResources::~ScopedPictureResources() {
    Reader() = std::move(mPrevious);
}

}  // namespace fw
