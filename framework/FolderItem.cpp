#include "framework/FolderItem.h"

#include "framework/TextStreams.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <utility>

namespace fw {

FolderItem::FolderItem(QString path) : mPath(std::move(path)) {}

bool FolderItem::Exists() const {
    return QFileInfo::exists(mPath);
}

std::optional<FolderItem> FolderItem::Child(const QString& name) const {
    if (name.isEmpty() || name == u"." || name == u".." || name.contains(u'/') ||
        name.contains(QChar(u'\0'))) {
        return std::nullopt;
    }
    return FolderItem(QDir(mPath).filePath(name));
}

std::unique_ptr<TextInputStream> FolderItem::OpenAsTextFile() const {
    auto stream = std::make_unique<TextInputStream>(mPath);
    if (!stream->IsOpen()) {
        return nullptr;
    }
    return stream;
}

std::unique_ptr<TextOutputStream> FolderItem::CreateTextFile() const {
    return std::make_unique<TextOutputStream>(mPath);
}

std::optional<FolderItem> GetFolderItem(const QString& path, int mode) {
    (void)mode;
    if (path.isEmpty()) {
        const QString current = QDir::currentPath();
        if (current.isEmpty()) {
            return std::nullopt;  // the working directory is gone
        }
        return FolderItem(current);
    }
    return FolderItem(QDir::current().absoluteFilePath(path));
}

namespace {

Seam<std::optional<QString>> gDesktop;  // none: ask the platform

}  // namespace

std::optional<FolderItem> DesktopFolder() {
    if (const std::optional<QString> path = gDesktop.Get()) {
        return path->isEmpty() ? std::nullopt : std::optional<FolderItem>(*path);
    }
    const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    if (desktop.isEmpty()) {
        return std::nullopt;
    }
    return FolderItem(desktop);
}

ScopedDesktopFolder::ScopedDesktopFolder(QString path)
    : ScopedOverride(gDesktop, std::move(path)) {}

}  // namespace fw
