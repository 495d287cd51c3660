#pragma once
// What the fuzz targets share: a check that stops the run with the broken property (libFuzzer
// then saves the input), and the ways the targets cut their input into parts.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

// Not assert(): it must also hold in release builds, where the fuzzers run.
#define FUZZ_CHECK(condition)                                                                     \
    do {                                                                                          \
        if (!(condition)) {                                                                       \
            std::fprintf(stderr, "%s:%d: property broken: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                         \
        }                                                                                         \
    } while (false)

namespace fuzz {

inline std::string_view Text(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// A command line from NUL-separated words: "-n\0a" is {"-n", "a"}, "a\0" is {"a", ""}; the
// empty input is no word at all.
inline std::vector<std::string> Words(std::string_view text) {
    std::vector<std::string> words;
    if (text.empty()) {
        return words;
    }
    for (;;) {
        const std::size_t nul = text.find('\0');
        words.emplace_back(text.substr(0, nul));
        if (nul == std::string_view::npos) {
            return words;
        }
        text.remove_prefix(nul + 1);
    }
}

}  // namespace fuzz
