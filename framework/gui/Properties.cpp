#include "framework/gui/Properties.h"

namespace fw {

QStringList ApplyProperties(const PropertyMap& properties, const QStringList& known,
                            PropertyMap& stored,
                            const std::function<void(const QString&, const QVariant&)>& apply) {
    for (const QString& name : known) {
        const auto value = properties.constFind(name);
        if (value != properties.cend()) {
            stored.insert(name, *value);
            apply(name, *value);
        }
    }
    QStringList unknown;
    for (auto it = properties.cbegin(); it != properties.cend(); ++it) {
        if (!known.contains(it.key())) {
            unknown.append(it.key());
        }
    }
    return unknown;
}

}  // namespace fw
