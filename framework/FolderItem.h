#pragma once
// Files and folders of the framework. A FolderItem names a place in the file system; it may or
// may not exist. Used on one thread at a time.

#include "framework/ScopedOverride.h"

#include <QString>
#include <memory>
#include <optional>

namespace fw {

class TextInputStream;
class TextOutputStream;

class FolderItem {
public:
    explicit FolderItem(QString path);

    const QString& Path() const { return mPath; }
    bool Exists() const;

    // The item called name inside this folder; none when name is empty or is not a plain name
    // (a path separator in it, "." or "..").
    std::optional<FolderItem> Child(const QString& name) const;

    // A UTF-8 input stream on the file; null when it cannot be opened.
    std::unique_ptr<TextInputStream> OpenAsTextFile() const;

    // An output stream on an empty file. The file on disk is replaced as a whole when the stream
    // is closed successfully, and left as it was otherwise. Never null; failures show in the
    // stream's error.
    std::unique_ptr<TextOutputStream> CreateTextFile() const;

private:
    QString mPath;
};

// The folder that an empty path names: the process's working directory. Mode is unused.
std::optional<FolderItem> GetFolderItem(const QString& path, int mode = 0);

// The user's desktop folder; none when the platform has none.
std::optional<FolderItem> DesktopFolder();

// Test seam: while it lives, DesktopFolder gives the folder at path, or none for an empty path
// (no platform here lacks one). Not used by the program.
class ScopedDesktopFolder : ScopedOverride<std::optional<QString>> {
public:
    explicit ScopedDesktopFolder(QString path);
};

}  // namespace fw
