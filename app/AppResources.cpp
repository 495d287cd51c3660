#include "app/AppResources.h"

#include <QtGlobal>

// Q_INIT_RESOURCE declares the resource's initialiser, so it must stand outside any namespace.
static bool RegisterAppResources() {
    Q_INIT_RESOURCE(vellmaroq);
    return true;
}

void EnsureAppResources() {
    [[maybe_unused]] static const bool registered = RegisterAppResources();
}
