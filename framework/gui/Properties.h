#pragma once
// Layout values by property name, as the window and its controls take them: applied in one step,
// each known name in the order the object lists them.

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>
#include <functional>

namespace fw {

using PropertyMap = QVariantMap;

// Stores and applies every property of `known` that `properties` holds, in the order of `known`;
// returns the names of `properties` that are not known (nothing is done with them).
QStringList ApplyProperties(const PropertyMap& properties, const QStringList& known,
                            PropertyMap& stored,
                            const std::function<void(const QString&, const QVariant&)>& apply);

}  // namespace fw
