#include "app/LayoutData.h"

#include "app/AppResources.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

namespace LayoutData {

namespace {

QJsonObject Read() {
    EnsureAppResources();
    QFile file(QStringLiteral(":/layout/Window1.json"));
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return QJsonDocument::fromJson(file.readAll()).object();
}

}  // namespace

fw::PropertyMap Properties(const QString& object) {
    static const QJsonObject layout = Read();
    return layout.value(object).toObject().toVariantMap();
}

}  // namespace LayoutData
