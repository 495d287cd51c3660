#pragma once
// Text services of the framework. Pure functions: safe on any thread.
// Fields count from 1; a field that is not there is the empty text. The B forms work on the
// UTF-8 bytes of their arguments and are exact; the others work on UTF-16 characters.

#include <QByteArray>
#include <QString>
#include <cstdint>

namespace fw {

// Equality of texts as the system compares keys: ASCII letters ignore case, nothing else does.
bool TextEquals(const QString& a, const QString& b);

// Field n of text, split at separator (ASCII letters of the separator match either case).
// An empty separator gives the whole text as field 1.
QString NthField(const QString& text, const QString& separator, int n);

QByteArray NthFieldB(const QByteArray& text, const QByteArray& separator, int n);
QString NthFieldB(const QString& text, const QString& separator, int n);

// Number of fields of text at separator, by bytes; the empty text has no fields.
int CountFieldsB(const QByteArray& text, const QByteArray& separator);
int CountFieldsB(const QString& text, const QString& separator);

// The first count bytes (all of them when count is larger, none when it is negative).
QByteArray LeftB(const QByteArray& text, int count);
QString LeftB(const QString& text, int count);

// 1-based byte position of find in text, searching from byte start (values below 1 mean 1);
// 0 when absent. An empty find is found at start.
int InStrB(int start, const QByteArray& text, const QByteArray& find);
int InStrB(int start, const QString& text, const QString& find);

// Removes blanks, TABs and line ends (CR, LF) at both ends.
QString Trim(const QString& text);

QString Chr(int code);
QString Str(std::int64_t value);

// The longest leading decimal number after leading blanks and TABs ("12abc" gives 12,
// "abc" gives 0, " -3.5e2x" gives -350).
double Val(const QString& text);

// Double to signed 32-bit: truncates toward zero, saturates at the limits, NaN gives 0.
std::int32_t ToInt32(double value);

}  // namespace fw
