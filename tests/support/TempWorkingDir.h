#pragma once
// A temporary folder that is the process's working directory while the object lives.

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

class TempWorkingDir {
public:
    TempWorkingDir();
    ~TempWorkingDir();
    TempWorkingDir(const TempWorkingDir&) = delete;
    TempWorkingDir& operator=(const TempWorkingDir&) = delete;

    QString path() const { return mDir.path(); }
    QString filePath(const QString& name) const { return mDir.filePath(name); }
    // Writes bytes to name inside the folder, replacing any earlier file.
    void write(const QString& name, const QByteArray& bytes) const;

private:
    QTemporaryDir mDir;
    QString mPrevious;
};
