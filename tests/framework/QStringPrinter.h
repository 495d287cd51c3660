#pragma once
// Lets gtest show texts as text in its failure messages (long ones cut short).

#include <QByteArray>
#include <QString>
#include <ostream>

inline void PrintTo(const QByteArray& bytes, std::ostream* out) {
    constexpr qsizetype kShown = 200;
    *out << '"' << bytes.left(kShown).toStdString() << '"';
    if (bytes.size() > kShown) {
        *out << "... (" << bytes.size() << " bytes)";
    }
}

inline void PrintTo(const QString& text, std::ostream* out) {
    PrintTo(text.toUtf8(), out);
}
