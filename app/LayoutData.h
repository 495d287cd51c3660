#pragma once
// The layout values of the main window and its controls, by object name ("Window1",
// "ListBox1", ...), read once from the layout data among the resources. Main thread only.

#include "framework/gui/Control.h"

#include <QString>

namespace LayoutData {

// The values of object; empty when the layout data has none for it.
fw::PropertyMap Properties(const QString& object);

}  // namespace LayoutData
