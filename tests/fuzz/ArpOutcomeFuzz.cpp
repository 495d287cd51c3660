// How the outcome of "arp -n ADDR" reads, on any exit status and output. The first four bytes
// are the exit status (in the machine's byte order), the rest is the output as UTF-8.
#include "scan/ArpOutput.h"
#include "tests/fuzz/FuzzCheck.h"

#include <QString>

#include <cstring>

namespace {

bool IsBlank(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

QString AsciiLower(QString text) {
    for (QChar& c : text) {
        if (c >= u'A' && c <= u'Z') {
            c = QChar(c.unicode() + (u'a' - u'A'));
        }
    }
    return text;
}

// The MAC text of an output that is neither "no entry" nor "incomplete": after the first "at",
// up to a next "at", before the first "on" in that, without blanks around it. The two separators
// match in either case of their letters.
QString ExpectedMac(const QString& output) {
    const QString lower = AsciiLower(output);
    const qsizetype at = lower.indexOf(u"at");
    if (at < 0) {
        return QString();
    }
    const qsizetype from = at + 2;
    qsizetype to = lower.indexOf(u"at", from);
    to = to < 0 ? lower.size() : to;
    const qsizetype on = lower.indexOf(u"on", from);
    if (on >= 0 && on < to) {
        to = on;
    }
    qsizetype begin = from;
    while (begin < to && IsBlank(output[begin])) {
        ++begin;
    }
    while (to > begin && IsBlank(output[to - 1])) {
        --to;
    }
    return output.sliced(begin, to - begin);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::int32_t status = 0;
    if (size < sizeof status) {
        return 0;
    }
    std::memcpy(&status, data, sizeof status);
    const QByteArray bytes(reinterpret_cast<const char*>(data) + sizeof status,
                           static_cast<qsizetype>(size - sizeof status));
    const QString output = QString::fromUtf8(bytes);

    const ArpReading reading = ReadArpOutcome(status, output);
    if (status == 1) {
        FUZZ_CHECK(!reading.isMac && reading.text.isEmpty());
    } else if (status != 0) {
        FUZZ_CHECK(!reading.isMac);
        FUZZ_CHECK(reading.text == QStringLiteral("error. (%1)").arg(status));
    } else if (output.toUtf8().contains("no entry")) {
        FUZZ_CHECK(!reading.isMac && reading.text == u"no entry.");
    } else if (output.toUtf8().contains("incomplete")) {
        FUZZ_CHECK(!reading.isMac && reading.text == u"incomplete.");
    } else {
        FUZZ_CHECK(reading.isMac);
        FUZZ_CHECK(reading.text.isEmpty() ||
                   (!IsBlank(reading.text.front()) && !IsBlank(reading.text.back())));
        FUZZ_CHECK(output.contains(reading.text));
        FUZZ_CHECK(!AsciiLower(reading.text).contains(u"at"));
        FUZZ_CHECK(!AsciiLower(reading.text).contains(u"on"));
        FUZZ_CHECK(reading.text == ExpectedMac(output));
    }
    return 0;
}
