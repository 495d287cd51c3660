#pragma once
// Shell commands of the framework. A Shell runs one command line at a time through /bin/sh -c
// on the calling thread and returns when the command has ended. On Linux our own stand-ins for
// the host commands (ping, arp) come first on the command's PATH.

#include "framework/ScopedOverride.h"

#include <QString>
#include <functional>

namespace fw {

struct ShellOutcome {
    int exitStatus = -1;  // -1 when the command could not be started or was ended by a signal
    QString output;       // standard output and standard error together: their first MiB
};

// How commands are run; the default runs them for real. Called on the thread that executes.
using ShellRunner = std::function<ShellOutcome(const QString& commandLine)>;

class Shell {
public:
    void Execute(const QString& commandLine);
    int ErrorCode() const { return mOutcome.exitStatus; }
    const QString& Result() const { return mOutcome.output; }
    void Close() { mOutcome = {}; }

    // Ends every running command and refuses new ones (they give -1) for the rest of the run.
    // Called on the main thread at quit; the executing threads end their own commands.
    static void AbortAll();

private:
    ShellOutcome mOutcome;
};

// The folder of our host-command stand-ins for the running program, or empty when there is
// none fit for use (and always off Linux): the commands then come from the PATH as it stands.
// When it refuses a folder it found, it says so once on standard error: which and why.
QString CompatCommandDir();

struct CompatCommandDirChoice {
    QString dir;      // the folder to put first on the PATH; empty: the PATH as it stands
    QString refused;  // when none is used: the first folder found beside the program, if any
    QString reason;   // why refused is not used
};
// The choice for the program at path executable. Only places relative to it count: the
// installed folder (libexec/vellmaroq beside its bin), else the build tree's compat-bin beside
// it. Either is used only when it and the commands in it belong to root or to the user and
// nobody else may write them.
CompatCommandDirChoice CompatCommandDirFor(const QString& executable);

// text as one word for /bin/sh: unchanged when it holds only letters, digits, ".", ":" and "-",
// otherwise single-quoted. Every piece of a command line that comes from data goes through it.
QString ShellWord(const QString& text);

// Test seam: replaces the runner process-wide while it lives. Not used by the program.
class ScopedShellRunner : ScopedOverride<ShellRunner> {
public:
    explicit ScopedShellRunner(ShellRunner runner);
};

}  // namespace fw
