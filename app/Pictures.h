#pragma once
// The toolbar's picture items: each reads its picture from the application's resources on first
// use and keeps it for the rest of the run; until a read finds it, each call reads again. None
// when the resources don't hold it. Main thread only.

#include "framework/gui/Picture.h"

#include <memory>

namespace Pictures {

std::shared_ptr<fw::Picture> connect();       // 168: icon of ToolItem1
std::shared_ptr<fw::Picture> connect_mask();  // 169
std::shared_ptr<fw::Picture> stop();          // 170: icon of ToolItem2
std::shared_ptr<fw::Picture> stop_mask();     // 171
std::shared_ptr<fw::Picture> text();          // 172: icon of ToolItem4
std::shared_ptr<fw::Picture> text_mask();     // 173

// Shutdown: empties the six caches in the order connect, connect_mask, stop, stop_mask, text,
// text_mask.
void ReleasePictures();

}  // namespace Pictures
