#include "tests/support/Processes.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QList>
#include <QStringList>

namespace processes {

namespace {

// The fields of /proc/PID/stat after the name, from the state on; empty when it is gone. The
// name may hold blanks and parentheses, so the fields start after the last ')'.
QList<QByteArray> StatFields(pid_t pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QByteArray text = stat.readAll();
    const qsizetype afterName = text.lastIndexOf(')');
    return afterName < 0 ? QList<QByteArray>() : text.mid(afterName + 2).split(' ');
}

}  // namespace

bool IsRunning(pid_t pid) {
    const QList<QByteArray> fields = StatFields(pid);
    return !fields.isEmpty() && fields[0] != "Z";
}

std::vector<pid_t> LiveMembers(pid_t group) {
    std::vector<pid_t> members;
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString& entry : entries) {
        bool isPid = false;
        const auto pid = static_cast<pid_t>(entry.toInt(&isPid));
        if (!isPid) {
            continue;
        }
        // "state ppid pgrp ...".
        const QList<QByteArray> fields = StatFields(pid);
        if (fields.size() > 2 && fields[0] != "Z" && fields[2].toLongLong() == group) {
            members.push_back(pid);
        }
    }
    return members;
}

}  // namespace processes
