#include "framework/Text.h"

#include <QStringDecoder>

#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <system_error>
#include <utility>

namespace fw {

namespace {

bool IsAsciiLetter(char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

char16_t AsciiLower(char16_t c) {
    return (c >= u'A' && c <= u'Z') ? char16_t(c + (u'a' - u'A')) : c;
}

bool HasAsciiLetter(QStringView text) {
    for (const QChar c : text) {
        if (IsAsciiLetter(c.unicode())) {
            return true;
        }
    }
    return false;
}

bool EqualsIgnoringAsciiCase(QStringView a, QStringView b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (AsciiLower(a[i].unicode()) != AsciiLower(b[i].unicode())) {
            return false;
        }
    }
    return true;
}

// Position of the first match of find in text at or after from, ASCII letters matching either
// case; -1 when there is none. find is not empty.
qsizetype IndexOfIgnoringAsciiCase(QStringView text, QStringView find, qsizetype from) {
    if (!HasAsciiLetter(find)) {
        // No letters: the exact search is the same and much faster on long texts.
        return text.indexOf(find, from, Qt::CaseSensitive);
    }
    const char16_t first = AsciiLower(find[0].unicode());
    for (qsizetype i = from; i + find.size() <= text.size(); ++i) {
        if (AsciiLower(text[i].unicode()) == first &&
            EqualsIgnoringAsciiCase(text.sliced(i, find.size()), find)) {
            return i;
        }
    }
    return -1;
}

// Start and length of field n (from 1) of text at separator, found by the search function;
// length -1 when the field is not there.
template <typename View, typename Search>
std::pair<qsizetype, qsizetype> FieldBounds(View text, View separator, int n, Search search) {
    if (n < 1) {
        return {0, -1};
    }
    if (separator.isEmpty()) {
        return n == 1 ? std::pair<qsizetype, qsizetype>{0, text.size()}
                      : std::pair<qsizetype, qsizetype>{0, -1};
    }
    qsizetype start = 0;
    for (int field = 1; field < n; ++field) {
        const qsizetype at = search(text, separator, start);
        if (at < 0) {
            return {0, -1};
        }
        start = at + separator.size();
    }
    const qsizetype end = search(text, separator, start);
    return {start, (end < 0 ? text.size() : end) - start};
}

bool IsAscii(QStringView text) {
    for (const QChar c : text) {
        if (c.unicode() >= 0x80) {
            return false;
        }
    }
    return true;
}

// The text of UTF-8 bytes, a leading U+FEFF included (QString::fromUtf8 would drop it).
QString FromUtf8(QByteArrayView bytes) {
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless |
                                                       QStringConverter::Flag::ConvertInitialBom);
    return decoder(bytes);
}

qsizetype IndexOfBytes(QByteArrayView text, QByteArrayView find, qsizetype from) {
    return text.indexOf(find, from);
}

}  // namespace

bool TextEquals(const QString& a, const QString& b) {
    return EqualsIgnoringAsciiCase(a, b);
}

QString NthField(const QString& text, const QString& separator, int n) {
    const auto [start, length] =
        FieldBounds(QStringView(text), QStringView(separator), n, IndexOfIgnoringAsciiCase);
    return length < 0 ? QString() : text.sliced(start, length);
}

QByteArray NthFieldB(const QByteArray& text, const QByteArray& separator, int n) {
    const auto [start, length] =
        FieldBounds(QByteArrayView(text), QByteArrayView(separator), n, IndexOfBytes);
    return length < 0 ? QByteArray() : text.sliced(start, length);
}

QString NthFieldB(const QString& text, const QString& separator, int n) {
    if (IsAscii(separator)) {
        // An ASCII byte in UTF-8 is always that character: the characters split the same.
        const auto exact = [](QStringView t, QStringView s, qsizetype from) {
            return t.indexOf(s, from, Qt::CaseSensitive);
        };
        const auto [start, length] =
            FieldBounds(QStringView(text), QStringView(separator), n, exact);
        return length < 0 ? QString() : text.sliced(start, length);
    }
    return FromUtf8(NthFieldB(text.toUtf8(), separator.toUtf8(), n));
}

namespace {

// Fields of a non-empty text at a non-empty separator: one more than the matches, which do not
// overlap; at most the largest int.
template <typename Text>
int FieldCount(const Text& text, const Text& separator) {
    qsizetype count = 1;
    for (qsizetype at = text.indexOf(separator); at >= 0;
         at = text.indexOf(separator, at + separator.size())) {
        ++count;
    }
    return count > std::numeric_limits<int>::max() ? std::numeric_limits<int>::max()
                                                   : static_cast<int>(count);
}

}  // namespace

int CountFieldsB(const QByteArray& text, const QByteArray& separator) {
    if (text.isEmpty()) {
        return 0;
    }
    return separator.isEmpty() ? 1 : FieldCount(text, separator);
}

int CountFieldsB(const QString& text, const QString& separator) {
    if (text.isEmpty()) {
        return 0;
    }
    if (separator.isEmpty()) {
        return 1;
    }
    // As in NthFieldB: an ASCII separator gives the same count without a conversion.
    return IsAscii(separator) ? FieldCount(text, separator)
                              : FieldCount(text.toUtf8(), separator.toUtf8());
}

QByteArray LeftB(const QByteArray& text, int count) {
    return count < 0 ? QByteArray() : text.left(count);
}

QString LeftB(const QString& text, int count) {
    if (count < 0) {
        return QString();
    }
    if (IsAscii(QStringView(text).left(count))) {
        return text.left(count);  // one byte per character
    }
    // Every character takes at least one byte, so count + 1 characters (one more keeps a
    // surrogate pair whole) hold the first count bytes.
    return FromUtf8(text.left(qsizetype(count) + 1).toUtf8().left(count));
}

int InStrB(int start, const QByteArray& text, const QByteArray& find) {
    const qsizetype from = start < 1 ? 0 : qsizetype(start) - 1;
    if (from > text.size()) {
        return 0;
    }
    const qsizetype at = text.indexOf(find, from);
    if (at < 0 || at >= std::numeric_limits<int>::max()) {
        return 0;
    }
    return static_cast<int>(at) + 1;
}

int InStrB(int start, const QString& text, const QString& find) {
    return InStrB(start, text.toUtf8(), find.toUtf8());
}

QString Trim(const QString& text) {
    const auto isTrimmed = [](QChar c) {
        return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
    };
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isTrimmed(text[begin])) {
        ++begin;
    }
    while (end > begin && isTrimmed(text[end - 1])) {
        --end;
    }
    return text.sliced(begin, end - begin);
}

QString Chr(int code) {
    if (code < 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
        return QString();
    }
    const char32_t c = static_cast<char32_t>(code);
    return QString::fromUcs4(&c, 1);
}

QString Str(std::int64_t value) {
    return QString::number(value);
}

double Val(const QString& text) {
    qsizetype i = 0;
    while (i < text.size() && (text[i] == u' ' || text[i] == u'\t')) {
        ++i;
    }
    const auto isDigit = [&](qsizetype at) {
        return at < text.size() && text[at] >= u'0' && text[at] <= u'9';
    };

    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    // The number's text, without its sign; from_chars reads it the same in every locale.
    std::string number;
    qsizetype integerDigits = 0;  // significant digits before the point
    qsizetype leadingZeros = 0;   // zeros after the point before the first significant digit
    bool anyDigit = false;
    bool significant = false;
    for (; isDigit(i); ++i) {
        anyDigit = true;
        significant = significant || text[i] != u'0';
        integerDigits += significant ? 1 : 0;
        number += char(text[i].unicode());
    }
    if (i < text.size() && text[i] == u'.') {
        number += '.';
        for (++i; isDigit(i); ++i) {
            anyDigit = true;
            if (!significant && text[i] == u'0') {
                ++leadingZeros;
            }
            significant = significant || text[i] != u'0';
            number += char(text[i].unicode());
        }
    }
    if (!anyDigit) {
        return 0.0;
    }
    long long exponent = 0;
    if (i < text.size() && (text[i] == u'e' || text[i] == u'E')) {
        qsizetype e = i + 1;
        bool exponentNegative = false;
        if (e < text.size() && (text[e] == u'+' || text[e] == u'-')) {
            exponentNegative = text[e] == u'-';
            ++e;
        }
        if (isDigit(e)) {
            std::string digits;
            for (; isDigit(e); ++e) {
                digits += char(text[e].unicode());
                exponent = std::min(exponent * 10 + (text[e].unicode() - u'0'), 1'000'000'000LL);
            }
            number += exponentNegative ? "e-" : "e";
            number += digits;
            exponent = exponentNegative ? -exponent : exponent;
        }
    }

    double value = 0.0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    (void)end;
    if (error == std::errc::result_out_of_range) {
        // Far beyond the range either way: the magnitude's decimal order tells which end.
        const long long order =
            integerDigits > 0 ? integerDigits + exponent : exponent - leadingZeros;
        value = order > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    } else if (error != std::errc()) {
        value = 0.0;
    }
    return negative ? -value : value;
}

std::int32_t ToInt32(double value) {
    constexpr double kMax = std::numeric_limits<std::int32_t>::max();
    constexpr double kMin = std::numeric_limits<std::int32_t>::min();
    if (std::isnan(value)) {
        return 0;
    }
    if (value >= kMax) {
        return std::numeric_limits<std::int32_t>::max();
    }
    if (value <= kMin) {
        return std::numeric_limits<std::int32_t>::min();
    }
    return static_cast<std::int32_t>(value);
}

}  // namespace fw
