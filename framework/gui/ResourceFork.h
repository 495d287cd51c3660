#pragma once
// The application's resources: pictures stored under numeric ids. The program's pictures live
// in its compiled-in Qt resources as ":/PICT/<id>" (any image format Qt reads). Main thread only.

#include "framework/ScopedOverride.h"

#include <QString>
#include <functional>
#include <memory>

namespace fw {

class Picture;

class ResourceFork {
public:
    // A new picture read from the resources; none when they hold no picture under id.
    std::shared_ptr<Picture> GetPicture(int id) const;
};

// The application's resource fork.
const ResourceFork& AppResourceFork();

// How GetPicture reads a picture; the default reads the compiled-in resources.
using PictureResourceReader = std::function<std::shared_ptr<Picture>(int id)>;

// The default reader.
std::shared_ptr<Picture> ReadPictureResource(int id);

// The resource path of id: ":/PICT/<id>".
QString PictureResourcePath(int id);

// Test seam: replaces the reader process-wide while it lives. Not used by the program.
class ScopedPictureResources : ScopedOverride<PictureResourceReader> {
public:
    explicit ScopedPictureResources(PictureResourceReader reader);
};

}  // namespace fw
