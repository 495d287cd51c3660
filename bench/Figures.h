#pragma once
// The figures a benchmark program measured, each beside its target, for scripts/bench.sh.
// Main thread only.

#include <string>
#include <vector>

class Figures {
public:
    enum class Bound { Below, AtMost };  // value < target, value <= target

    // One sample of a figure; a figure sampled several times is reported as the median.
    static void Record(const std::string& name, double value, const std::string& unit, Bound bound,
                       double target, const std::string& note = {});

    // Takes "--figures=PATH" out of argv: the report is then appended to PATH as well.
    static void TakeOption(int& argc, char** argv);

    // Prints one line per figure (name, median, target, ok or MISS) to standard output and to the
    // --figures file. True when every figure met its target.
    static bool Report();

private:
    struct Figure {
        std::string name;
        std::vector<double> samples;
        std::string unit;
        Bound bound;
        double target;
        std::string note;
    };
    static std::vector<Figure>& All();
    static std::string& OutputPath();
};
