#pragma once
// The layout values a class takes, as one table: each name with the setter that applies it, or
// with none for a value the object only stores (for Property). A name is written once, in its
// class's table; a derived class's table is its base's with rows of its own after them.

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>
#include <QtGlobal>
#include <algorithm>
#include <functional>
#include <initializer_list>
#include <utility>
#include <vector>

namespace fw {

using PropertyMap = QVariantMap;

template <class Object>
class PropertyTable {
public:
    // One layout value of Owner (Object or a class derived from it); a null setter: stored only.
    template <class Owner>
    struct Row {
        const char* name;
        void (*set)(Owner& object, const QVariant& value);
    };

    PropertyTable(std::initializer_list<Row<Object>> rows) { Add(rows); }

    // This table's rows, then rows of Derived (an Object the table is only used on).
    template <class Derived>
    PropertyTable Extended(std::initializer_list<Row<Derived>> rows) const {
        PropertyTable extended = *this;
        extended.Add(rows);
        return extended;
    }

    // Stores and applies every value of properties that the table names, in the table's order
    // whatever the map's; returns the names of properties it does not hold (nothing is done
    // with them).
    QStringList Apply(Object& object, const PropertyMap& properties, PropertyMap& stored) const {
        for (std::size_t i = 0; i < mNames.size(); ++i) {
            const auto value = properties.constFind(mNames[i]);
            if (value != properties.cend()) {
                stored.insert(mNames[i], *value);
                if (mSetters[i]) {
                    mSetters[i](object, *value);
                }
            }
        }
        QStringList unknown;
        for (auto it = properties.cbegin(); it != properties.cend(); ++it) {
            if (std::find(mNames.begin(), mNames.end(), it.key()) == mNames.end()) {
                unknown.append(it.key());
            }
        }
        return unknown;
    }

private:
    template <class Owner>
    void Add(std::initializer_list<Row<Owner>> rows) {
        for (const Row<Owner>& row : rows) {
            const QString name = QString::fromLatin1(row.name);
            Q_ASSERT_X(std::find(mNames.begin(), mNames.end(), name) == mNames.end(),
                       "PropertyTable", "a layout value named twice");
            std::function<void(Object&, const QVariant&)> setter;
            if (row.set != nullptr) {
                setter = [set = row.set](Object& object, const QVariant& value) {
                    set(static_cast<Owner&>(object), value);
                };
            }
            mNames.push_back(name);
            mSetters.push_back(std::move(setter));
        }
    }

    std::vector<QString> mNames;
    std::vector<std::function<void(Object&, const QVariant&)>> mSetters;
};

}  // namespace fw
