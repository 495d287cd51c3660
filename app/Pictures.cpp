#include "app/Pictures.h"

#include "app/AppResources.h"
#include "framework/gui/ResourceFork.h"

namespace Pictures {

namespace {

std::shared_ptr<fw::Picture> connect_permapic;
std::shared_ptr<fw::Picture> connect_mask_permapic;
std::shared_ptr<fw::Picture> stop_permapic;
std::shared_ptr<fw::Picture> stop_mask_permapic;
std::shared_ptr<fw::Picture> text_permapic;
std::shared_ptr<fw::Picture> text_mask_permapic;

std::shared_ptr<fw::Picture> Cached(std::shared_ptr<fw::Picture>& cache, int resourceId) {
    if (cache == nullptr) {
        EnsureAppResources();
        cache = fw::AppResourceFork().GetPicture(resourceId);
    }
    return cache;
}

}  // namespace

std::shared_ptr<fw::Picture> connect() {
    return Cached(connect_permapic, 168);
}
std::shared_ptr<fw::Picture> connect_mask() {
    return Cached(connect_mask_permapic, 169);
}
std::shared_ptr<fw::Picture> stop() {
    return Cached(stop_permapic, 170);
}
std::shared_ptr<fw::Picture> stop_mask() {
    return Cached(stop_mask_permapic, 171);
}
std::shared_ptr<fw::Picture> text() {
    return Cached(text_permapic, 172);
}
std::shared_ptr<fw::Picture> text_mask() {
    return Cached(text_mask_permapic, 173);
}

void ReleasePictures() {
    connect_permapic.reset();
    connect_mask_permapic.reset();
    stop_permapic.reset();
    stop_mask_permapic.reset();
    text_permapic.reset();
    text_mask_permapic.reset();
}

}  // namespace Pictures
