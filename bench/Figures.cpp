#include "bench/Figures.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>

void Figures::Record(const std::string& name, double value, const std::string& unit, Bound bound,
                     double target, const std::string& note) {
    auto& all = All();
    auto figure =
        std::find_if(all.begin(), all.end(), [&](const Figure& f) { return f.name == name; });
    if (figure == all.end()) {
        all.push_back({name, {}, unit, bound, target, note});
        figure = all.end() - 1;
    }
    figure->samples.push_back(value);
    if (!note.empty()) {
        figure->note = note;
    }
}

void Figures::TakeOption(int& argc, char** argv) {
    static constexpr const char kOption[] = "--figures=";
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], kOption, sizeof kOption - 1) == 0) {
            OutputPath() = argv[i] + sizeof kOption - 1;
        } else {
            argv[kept++] = argv[i];
        }
    }
    argc = kept;
    argv[argc] = nullptr;
}

bool Figures::Report() {
    bool allMet = true;
    std::string report;
    for (Figure& figure : All()) {
        std::vector<double>& s = figure.samples;
        std::sort(s.begin(), s.end());
        // The lower median: a sample that was measured, never an average of two.
        const double value = s[(s.size() - 1) / 2];
        const bool met =
            figure.bound == Bound::Below ? value < figure.target : value <= figure.target;
        allMet = allMet && met;
        char line[512];
        std::snprintf(line, sizeof line, "%-52s %9.3f %-2s   target %-2s %8.3f %-2s   %s%s%s\n",
                      figure.name.c_str(), value, figure.unit.c_str(),
                      figure.bound == Bound::Below ? "<" : "<=", figure.target, figure.unit.c_str(),
                      met ? "ok" : "MISS", figure.note.empty() ? "" : "   ", figure.note.c_str());
        report += line;
    }
    std::cout << report << std::flush;
    if (!OutputPath().empty()) {
        std::ofstream(OutputPath(), std::ios::app) << report;
    }
    return allMet;
}

std::vector<Figures::Figure>& Figures::All() {
    static std::vector<Figure> all;
    return all;
}

std::string& Figures::OutputPath() {
    static std::string path;
    return path;
}
