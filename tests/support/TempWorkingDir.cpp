#include "tests/support/TempWorkingDir.h"

#include <QDir>
#include <QFile>
#include <stdexcept>

TempWorkingDir::TempWorkingDir() : mPrevious(QDir::currentPath()) {
    if (!mDir.isValid() || !QDir::setCurrent(mDir.path())) {
        throw std::runtime_error("cannot make a temporary working folder");
    }
}

TempWorkingDir::~TempWorkingDir() {
    QDir::setCurrent(mPrevious);
}

void TempWorkingDir::write(const QString& name, const QByteArray& bytes) const {
    QFile file(filePath(name));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size()) {
        throw std::runtime_error("cannot write a fixture file");
    }
}
