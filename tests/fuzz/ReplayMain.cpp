// Runs a fuzz target once over every file of the folders (or the files) it is given, for builds
// without libFuzzer: the seed corpus becomes a regression test. Fails when it found no input.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);

namespace {

std::vector<std::filesystem::path> Inputs(int argc, char** argv) {
    std::vector<std::filesystem::path> inputs;
    for (int i = 1; i < argc; ++i) {
        const std::filesystem::path path(argv[i]);
        if (std::filesystem::is_directory(path)) {
            for (const auto& entry : std::filesystem::directory_iterator(path)) {
                if (entry.is_regular_file()) {
                    inputs.push_back(entry.path());
                }
            }
        } else {
            inputs.push_back(path);
        }
    }
    std::sort(inputs.begin(), inputs.end());
    return inputs;
}

}  // namespace

int main(int argc, char** argv) {
    if (LLVMFuzzerInitialize != nullptr) {
        LLVMFuzzerInitialize(&argc, &argv);
    }
    const std::vector<std::filesystem::path> inputs = Inputs(argc, argv);
    for (const std::filesystem::path& path : inputs) {
        std::ifstream file(path, std::ios::binary);
        if (!file) {
            std::fprintf(stderr, "cannot read %s\n", path.c_str());
            return 1;
        }
        const std::vector<char> bytes{std::istreambuf_iterator<char>(file), {}};
        std::fprintf(stderr, "%s\n", path.c_str());
        // A non-null pointer also for the empty input, as libFuzzer passes it.
        const std::uint8_t none = 0;
        LLVMFuzzerTestOneInput(
            bytes.empty() ? &none : reinterpret_cast<const std::uint8_t*>(bytes.data()),
            bytes.size());
    }
    if (inputs.empty()) {
        std::fprintf(stderr, "no input found\n");
        return 1;
    }
    std::printf("%zu inputs passed\n", inputs.size());
    return 0;
}
