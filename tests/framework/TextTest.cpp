// The text functions, one table each.
#include "framework/Text.h"
#include "tests/framework/QStringPrinter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

using fw::Chr;
using fw::CountFieldsB;
using fw::InStrB;
using fw::LeftB;
using fw::NthField;
using fw::NthFieldB;
using fw::Str;
using fw::TextEquals;
using fw::ToInt32;
using fw::Trim;
using fw::Val;

const QString kTab = QStringLiteral("\t");

TEST(TextEqualsTest, IgnoresTheCaseOfAsciiLettersOnly) {
    struct Case {
        QString a, b;
        bool equal;
    };
    const Case cases[] = {
        {"abc", "abc", true},
        {"abc", "ABC", true},
        {"0:1A:b", "0:1a:B", true},
        {"", "", true},
        {QString(), "", true},  // none equals the empty text
        {"a", "", false},
        {"ab", "abc", false},
        {"abc", "abd", false},
        {"@", "`", false},  // neighbours of the letter ranges
        {"[", "{", false},
        {QString::fromUtf8("ä"), QString::fromUtf8("Ä"), false},
        {QString::fromUtf8("straße"), "STRASSE", false},
        {QString::fromUtf8("東京"), QString::fromUtf8("東京"), true},
        {QString::fromUtf8("東京"), QString::fromUtf8("京都"), false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TextEquals(c.a, c.b), c.equal) << c.a.toStdString() << " / " << c.b.toStdString();
        EXPECT_EQ(TextEquals(c.b, c.a), c.equal) << c.b.toStdString() << " / " << c.a.toStdString();
    }
}

TEST(NthFieldTest, FieldsCountFromOneAndMissingFieldsAreEmpty) {
    struct Case {
        QString text, separator;
        int n;
        QString field;
    };
    const QString arpLine = "? (192.168.0.7) at 0:11:22:33:44:55 on en0 ifscope [ethernet]";
    const Case cases[] = {
        {"a\tb\tc", kTab, 1, "a"},
        {"a\tb\tc", kTab, 2, "b"},
        {"a\tb\tc", kTab, 3, "c"},
        {"a\tb\tc", kTab, 4, ""},
        {"a\tb\tc", kTab, 0, ""},
        {"a\tb\tc", kTab, -1, ""},
        {"\ta\t", kTab, 1, ""},
        {"\ta\t", kTab, 2, "a"},
        {"\ta\t", kTab, 3, ""},
        {"\ta\t", kTab, 4, ""},
        {"abc", kTab, 1, "abc"},
        {"abc", kTab, 2, ""},
        {"", kTab, 1, ""},
        {"abc", "", 1, "abc"},
        {"abc", "", 2, ""},
        {"aaa", "aa", 2, "a"},  // matches do not overlap
        {" a b ", " ", 2, "a"},
        {arpLine, "at", 2, " 0:11:22:33:44:55 on en0 ifscope [ethernet]"},
        {" 0:11:22:33:44:55 on en0", "on", 1, " 0:11:22:33:44:55 "},
        {"xxATyyatzz", "at", 2, "yy"},
        {"xxATyyatzz", "aT", 3, "zz"},
        {"lAtOn", "AT", 2, "On"},
        {QString::fromUtf8("straße"), "SS", 2, ""},
        {QString::fromUtf8("ÄxäY"), QString::fromUtf8("ä"), 1, QString::fromUtf8("Äx")},
        {QString::fromUtf8("東京\t大阪"), kTab, 2, QString::fromUtf8("大阪")},
        {QString::fromUtf8("東京の大阪の"), QString::fromUtf8("の"), 2, QString::fromUtf8("大阪")},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(NthField(c.text, c.separator, c.n), c.field)
            << c.text.toStdString() << " | " << c.separator.toStdString() << " | " << c.n;
    }
}

TEST(NthFieldBTest, SplitsTheUtf8BytesExactly) {
    struct Case {
        QString text, separator;
        int n;
        QString field;
    };
    const Case cases[] = {
        {"192.168.0.100", ".", 1, "192"},
        {"192.168.0.100", ".", 4, "100"},
        {"192.168.0.100", ".", 5, ""},
        {"a.b.c.d", ".", 3, "c"},
        {".x.", ".", 1, ""},
        {".x.", ".", 3, ""},
        {"", ".", 1, ""},
        {"aXbxc", "x", 2, "c"},  // by bytes: no case is ignored
        {QString::fromUtf8("東京.大阪"), ".", 2, QString::fromUtf8("大阪")},
        {QString::fromUtf8(" // 東.京"), ".", 1, QString::fromUtf8(" // 東")},
        {QChar(0xFEFF) + QString("a.b"), ".", 1, QChar(0xFEFF) + QString("a")},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(NthFieldB(c.text, c.separator, c.n), c.field)
            << c.text.toStdString() << " | " << c.separator.toStdString() << " | " << c.n;
    }
    // On bytes, a separator may even stand inside a character.
    EXPECT_EQ(NthFieldB(QByteArray("\xE6\x9D\xB1"), QByteArray("\x9D"), 2), QByteArray("\xB1"));
    EXPECT_EQ(NthFieldB(QByteArray("a::b::c"), QByteArray("::"), 3), QByteArray("c"));
}

TEST(CountFieldsBTest, CountsSeparatorsPlusOneAndTheEmptyTextHasNone) {
    struct Case {
        QString text, separator;
        int count;
    };
    const Case cases[] = {
        {"", ".", 0},
        {"a", ".", 1},
        {".", ".", 2},
        {"a..b", ".", 3},
        {"192.168.0.1", ".", 4},
        {"1.2.3.4.5", ".", 5},
        {"0:11:22:33:44:55", ":", 6},
        {"0:1:2:3:4:5:6", ":", 7},
        {"a::b::c", "::", 3},
        {":::", "::", 2},  // matches do not overlap
        {"aXa", "x", 1},
        {"abc", "", 1},
        {QString::fromUtf8("東.京.都"), ".", 3},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CountFieldsB(c.text, c.separator), c.count)
            << c.text.toStdString() << " | " << c.separator.toStdString();
    }
}

TEST(LeftBTest, TakesBytesNotCharacters) {
    struct Case {
        QByteArray text;
        int count;
        QByteArray left;
    };
    const Case cases[] = {
        {"//comment", 2, "//"},
        {"/", 2, "/"},
        {"", 2, ""},
        {"ab", 0, ""},
        {"ab", -1, ""},
        {"ab", 5, "ab"},
        {"\xE6\x9D\xB1\xE4\xBA\xAC", 3, "\xE6\x9D\xB1"},  // 東京
        {"\xE6\x9D\xB1\xE4\xBA\xAC", 2, "\xE6\x9D"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LeftB(c.text, c.count), c.left) << c.text.toStdString() << " | " << c.count;
        EXPECT_EQ(LeftB(QString::fromUtf8(c.text), c.count), QString::fromUtf8(c.left))
            << c.text.toStdString() << " | " << c.count;
    }
    // A cut through a character is no longer that character, nor any ASCII text.
    EXPECT_NE(LeftB(QString::fromUtf8("東京"), 2), QString::fromUtf8("東"));
    EXPECT_EQ(LeftB(QString::fromUtf8("😀x"), 4), QString::fromUtf8("😀"));  // a surrogate pair
    EXPECT_EQ(LeftB(QChar(0xFEFF) + QString("//"), 3), QString(QChar(0xFEFF)));
}

TEST(InStrBTest, GivesOneBasedBytePositionsAndZeroWhenAbsent) {
    struct Case {
        int start;
        QString text, find;
        int position;
    };
    const Case cases[] = {
        {0, "arp: no entry here", "no entry", 6},
        {1, "abc", "c", 3},
        {0, "abc", "x", 0},
        {-5, "abc", "a", 1},
        {1, "ABC", "b", 0},  // bytes: exact
        {4, "abcabc", "a", 4},
        {5, "abcabc", "a", 0},
        {2, "abc", "", 2},
        {4, "abc", "", 4},
        {9, "abc", "", 0},
        {9, "abc", "a", 0},
        {0, "", "a", 0},
        {0, QString::fromUtf8("東京abc"), "a", 7},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(InStrB(c.start, c.text, c.find), c.position)
            << c.start << " | " << c.text.toStdString() << " | " << c.find.toStdString();
    }
}

TEST(TrimTest, RemovesBlanksTabsAndLineEndsAtBothEnds) {
    struct Case {
        QString text, trimmed;
    };
    const Case cases[] = {
        {"  a b \t\r\n", "a b"},
        {"\r\n0:11:22:33:44:55 \n", "0:11:22:33:44:55"},
        {" \t\r\n", ""},
        {"", ""},
        {"x", "x"},
        {QString::fromUtf8(" 東京 "), QString::fromUtf8("東京")},
        {QString::fromUtf8("\u3000x\u3000"), QString::fromUtf8("\u3000x\u3000")},
        {"\va\f", "\va\f"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Trim(c.text), c.trimmed) << c.text.toStdString();
    }
}

TEST(ChrTest, GivesTheCharacterOfACodePointAndNothingForOthers) {
    EXPECT_EQ(Chr(9), QString("\t"));
    EXPECT_EQ(Chr(65), QString("A"));
    EXPECT_EQ(Chr(0), QString(QChar(u'\0')));
    EXPECT_EQ(Chr(0x6771), QString::fromUtf8("東"));
    EXPECT_EQ(Chr(0x1F600), QString::fromUtf8("😀"));
    EXPECT_EQ(Chr(-1), QString());
    EXPECT_EQ(Chr(0xD800), QString());
    EXPECT_EQ(Chr(0x110000), QString());
}

TEST(StrTest, GivesPlainDecimalText) {
    EXPECT_EQ(Str(0), "0");
    EXPECT_EQ(Str(105), "105");
    EXPECT_EQ(Str(-5), "-5");
    EXPECT_EQ(Str(256), "256");
    EXPECT_EQ(Str(std::numeric_limits<std::int64_t>::min()), "-9223372036854775808");
}

TEST(ValTest, ReadsTheLongestLeadingDecimalNumber) {
    struct Case {
        QString text;
        double value;
    };
    const double inf = std::numeric_limits<double>::infinity();
    const Case cases[] = {
        {"100", 100},
        {"99.5", 99.5},
        {"abc", 0},
        {"", 0},
        {" 100", 100},
        {"\t 7", 7},
        {"12abc", 12},
        {"-5", -5},
        {"+7", 7},
        {" -3.5e2x", -350},
        {"1E3", 1000},
        {"2e-2", 0.02},
        {"1e", 1},
        {"1e+", 1},
        {"1ex", 1},
        {".5", 0.5},
        {"5.", 5},
        {".", 0},
        {"-", 0},
        {"--5", 0},
        {"- 5", 0},
        {"1.2.3", 1.2},
        {"0x10", 0},
        {"1,5", 1},
        {"007", 7},
        {"100 200", 100},
        {QString::fromUtf8("１２"), 0},  // full-width digits are no decimal digits
        {"1e999", inf},
        {"-1e999", -inf},
        {"0.000001e-999", 0},
        {"1e-999", 0},
        {"123456789012345678901234567890", 123456789012345678901234567890.0},
    };
    for (const Case& c : cases) {
        EXPECT_DOUBLE_EQ(Val(c.text), c.value) << c.text.toStdString();
    }
    EXPECT_DOUBLE_EQ(Val(QString(400, u'9') + "e-400"), 1.0) << "many digits are read whole";
}

TEST(ToInt32Test, TruncatesTowardZeroAndSaturates) {
    struct Case {
        double value;
        std::int32_t result;
    };
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
    const double inf = std::numeric_limits<double>::infinity();
    const Case cases[] = {
        {0.0, 0},
        {-0.0, 0},
        {1.9, 1},
        {-1.9, -1},
        {0.5, 0},
        {-0.5, 0},
        {123456.99, 123456},
        {2147483646.9, 2147483646},
        {2147483647.0, kMax},
        {2147483647.9, kMax},
        {2147483648.0, kMax},
        {1e300, kMax},
        {inf, kMax},
        {-2147483647.9, -2147483647},
        {-2147483648.0, kMin},
        {-2147483648.9, kMin},
        {-2147483649.0, kMin},
        {-1e300, kMin},
        {-inf, kMin},
        {std::numeric_limits<double>::quiet_NaN(), 0},
        {std::numeric_limits<double>::denorm_min(), 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ToInt32(c.value), c.result) << c.value;
    }
}

}  // namespace
