// The host file loader on any bytes as info.txt: the tables it fills must be those that the line
// rules give, and hold their invariants (parallel tables of equal length, keys of the right
// shape, no line end or TAB inside a key or name).
#include "scan/Global1.h"
#include "tests/fuzz/FuzzCheck.h"

#include <QString>
#include <QStringDecoder>
#include <QStringList>

#include <unistd.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

// A folder of our own as the working directory for the whole run, removed at exit.
class ScratchFolder {
public:
    ScratchFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "vq-fuzz-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr || ::chdir(pattern.c_str()) != 0) {
            std::perror("cannot make a scratch working folder");
            std::abort();
        }
        mPath = pattern;
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(mPath, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

private:
    std::filesystem::path mPath;
};

struct Tables {
    QString zone, start;
    QStringList ip, ipNames, mac, macNames;
    bool operator==(const Tables&) const = default;
};

Tables Loaded() {
    const auto list = [](const fw::StringArray& array) {
        return QStringList(array.begin(), array.end());
    };
    return {Global1::gIPLocalZone,        Global1::gIPLocalStart,     list(Global1::gIPAddress),
            list(Global1::gMachineNameI), list(Global1::gMacAddress), list(Global1::gMachineNameM)};
}

QString Decode(std::string_view bytes) {
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless |
                                                       QStringConverter::Flag::ConvertInitialBom);
    return decoder(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

// The host file's rules, written out plainly. Empty lines are ignored, so CR, LF and CRLF can
// all be taken as ends of lines here.
Tables Expected(std::string_view file) {
    if (file.starts_with("\xEF\xBB\xBF")) {
        file.remove_prefix(3);  // the file's own byte-order mark
    }
    Tables expected;
    bool zoneSeen = false;
    while (!file.empty()) {
        const std::size_t end = file.find_first_of("\r\n");
        const std::string_view raw = file.substr(0, end);
        file = end == std::string_view::npos ? std::string_view() : file.substr(end + 1);
        if (raw.empty() || raw.starts_with("//")) {
            continue;
        }
        const QString line = Decode(raw);
        const qsizetype tab = line.indexOf(u'\t');
        const QString key = line.left(tab);  // all of it without a TAB
        const QString name = tab < 0 ? QString() : line.mid(tab + 1).section(u'\t', 0, 0);
        if (key.count(u'.') == 3) {
            if (!zoneSeen) {
                const qsizetype lastDot = key.lastIndexOf(u'.');
                expected.zone = key.left(lastDot + 1);
                expected.start = key.mid(lastDot + 1);
                zoneSeen = true;
            } else {
                expected.ip.append(key);
                expected.ipNames.append(name);
            }
        } else if (key.count(u':') == 5) {
            expected.mac.append(key);
            expected.macNames.append(name);
        }
    }
    return expected;
}

bool HoldsLineBreakOrTab(const QStringList& texts) {
    for (const QString& text : texts) {
        if (text.contains(u'\t') || text.contains(u'\r') || text.contains(u'\n')) {
            return true;
        }
    }
    return false;
}

void CheckInvariants(const Tables& t) {
    FUZZ_CHECK(t.ip.size() == t.ipNames.size());
    FUZZ_CHECK(t.mac.size() == t.macNames.size());
    FUZZ_CHECK(t.zone.isEmpty() || (t.zone.endsWith(u'.') && t.zone.count(u'.') == 3));
    FUZZ_CHECK(!t.start.contains(u'.'));
    // Without a first address line there is neither a zone nor any address entry.
    FUZZ_CHECK(!t.zone.isEmpty() || (t.start.isEmpty() && t.ip.isEmpty()));
    for (const QString& key : t.ip) {
        FUZZ_CHECK(key.count(u'.') == 3);
    }
    for (const QString& key : t.mac) {
        FUZZ_CHECK(key.count(u':') == 5 && key.count(u'.') != 3);
    }
    for (const QStringList* texts : {&t.ip, &t.ipNames, &t.mac, &t.macNames}) {
        FUZZ_CHECK(!HoldsLineBreakOrTab(*texts));
    }
    FUZZ_CHECK(!t.zone.contains(u'\t') && !t.zone.contains(u'\r') && !t.zone.contains(u'\n'));
}

void WriteHostFile(std::string_view bytes) {
    std::FILE* file = std::fopen("info.txt", "wb");
    FUZZ_CHECK(file != nullptr);
    FUZZ_CHECK(std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size());
    FUZZ_CHECK(std::fclose(file) == 0);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    static ScratchFolder folder;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = fuzz::Text(data, size);
    WriteHostFile(bytes);

    Global1::InitializeGlobals();
    FUZZ_CHECK(Loaded() == Tables{});
    Global1::LoadInfo();
    const Tables loaded = Loaded();
    CheckInvariants(loaded);
    FUZZ_CHECK(loaded == Expected(bytes));
    Global1::FinalizeGlobals();
    FUZZ_CHECK(Loaded() == Tables{});
    return 0;
}
