// Start-up as a whole process: runs startup_probe (the program with StartupProbe built in) on the
// offscreen platform in a folder with a small host file, several times, and reports the time from
// just before the process is spawned to the main window's first show, and the process's peak
// memory idle and with 1,000 rows in the list (medians over the runs; one warm-up run first).
//   startup_bench --probe=PATH [--runs=N] [--figures=PATH]
#include "bench/Figures.h"
#include "bench/HostFiles.h"
#include "bench/ProcessStats.h"

#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace {

constexpr int kTimeoutMs = 120'000;

struct Run {
    double shownMs = 0;
    double paintedMs = 0;
    double idleMB = 0;
    double rowsMB = 0;
    int rows = 0;
    bool rowsByWalk = false;
};

std::string Option(int argc, char** argv, const std::string& name, const std::string& fallback) {
    const std::string prefix = "--" + name + "=";
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], prefix.c_str(), prefix.size()) == 0) {
            return argv[i] + prefix.size();
        }
    }
    return fallback;
}

std::map<std::string, std::string> ParseProbeLine(const std::string& output) {
    std::map<std::string, std::string> values;
    const std::size_t at = output.find("vq-probe ");
    if (at == std::string::npos) {
        return values;
    }
    std::istringstream line(output.substr(at + 9, output.find('\n', at) - at - 9));
    for (std::string word; line >> word;) {
        const std::size_t eq = word.find('=');
        if (eq != std::string::npos) {
            values[word.substr(0, eq)] = word.substr(eq + 1);
        }
    }
    return values;
}

// Spawns the probe in folder and reads what it prints; false when it failed or hung.
bool RunOnce(const std::string& probe, const std::string& folder, Run& run) {
    std::vector<std::string> env;
    for (char** e = environ; *e != nullptr; ++e) {
        if (std::strncmp(*e, "QT_QPA_PLATFORM=", 16) != 0) {
            env.emplace_back(*e);
        }
    }
    env.emplace_back("QT_QPA_PLATFORM=offscreen");
    std::vector<char*> envp;
    for (std::string& e : env) {
        envp.push_back(e.data());
    }
    envp.push_back(nullptr);
    std::string program = probe;
    char* argv[] = {program.data(), nullptr};

    int out[2];
    if (pipe(out) != 0) {
        return false;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    posix_spawn_file_actions_addclose(&actions, out[1]);

    pid_t pid = 0;
    const std::int64_t spawnedNs = ProcessStats::MonotonicNanoseconds();
    const int spawned = posix_spawn(&pid, probe.c_str(), &actions, nullptr, argv, envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    if (spawned != 0) {
        close(out[0]);
        return false;
    }

    std::string output;
    pollfd readable{out[0], POLLIN, 0};
    bool hung = false;
    for (char buffer[4096];;) {
        const int ready = poll(&readable, 1, kTimeoutMs);
        if (ready <= 0) {
            hung = true;
            break;
        }
        const ssize_t got = read(out[0], buffer, sizeof buffer);
        if (got <= 0) {
            break;
        }
        output.append(buffer, static_cast<std::size_t>(got));
    }
    close(out[0]);
    if (hung) {
        kill(pid, SIGKILL);
    }
    int status = 0;
    waitpid(pid, &status, 0);

    const auto values = ParseProbeLine(output);
    if (hung || !WIFEXITED(status) || values.count("shown_ns") == 0) {
        std::cerr << "startup_probe failed: " << output << '\n';
        return false;
    }
    const auto ms = [&](const char* key) {
        return static_cast<double>(std::stoll(values.at(key)) - spawnedNs) / 1e6;
    };
    const auto megabytes = [&](const char* key) {
        return static_cast<double>(std::stol(values.at(key))) * 1024.0 / 1e6;
    };
    run.shownMs = ms("shown_ns");
    run.paintedMs = ms("painted_ns");
    run.idleMB = megabytes("idle_hwm_kib");
    run.rowsMB = megabytes("rows_hwm_kib");
    run.rows = std::stoi(values.at("rows"));
    run.rowsByWalk = values.at("rows_by") == "walk";
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string probe = Option(argc, argv, "probe", "");
    const int runs = std::max(1, std::atoi(Option(argc, argv, "runs", "7").c_str()));
    Figures::TakeOption(argc, argv);
    if (probe.empty()) {
        std::cerr << "usage: startup_bench --probe=PATH [--runs=N] [--figures=PATH]\n";
        return 2;
    }

    char folderTemplate[] = "/tmp/vq-startup-XXXXXX";
    const char* folder = mkdtemp(folderTemplate);
    if (folder == nullptr) {
        return 2;
    }
    const std::string hostFile = std::string(folder) + "/info.txt";
    const QByteArray office = HostFiles::SmallOffice();
    std::ofstream(hostFile, std::ios::binary).write(office.constData(), office.size());

    bool allRan = true;
    for (int i = 0; i <= runs && allRan; ++i) {
        Run run;
        allRan = RunOnce(probe, folder, run);
        if (!allRan || i == 0) {
            continue;  // the first run fills the caches: it is not counted
        }
        std::printf(
            "run %d: shown %.1f ms, painted %.1f ms, peak idle %.1f MB, peak with %d "
            "rows %.1f MB (%s)\n",
            i, run.shownMs, run.paintedMs, run.idleMB, run.rows, run.rowsMB,
            run.rowsByWalk ? "rows by a walk" : "rows added directly");
        Figures::Record("start to window shown", run.shownMs, "ms", Figures::Bound::Below, 300.0);
        Figures::Record("peak memory (VmHWM), idle", run.idleMB, "MB", Figures::Bound::Below, 60.0);
        Figures::Record("peak memory (VmHWM), 1,000 rows", run.rowsMB, "MB", Figures::Bound::Below,
                        60.0,
                        run.rows != 1000 ? "(the list did not get 1,000 rows)"
                        : run.rowsByWalk ? ""
                                         : "(rows added by the bench: ToolItem1 started no walk)");
    }
    std::remove(hostFile.c_str());
    rmdir(folder);
    if (!allRan) {
        return 1;
    }
    return Figures::Report() ? 0 : 1;
}
