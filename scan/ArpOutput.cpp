#include "scan/ArpOutput.h"

#include "framework/Text.h"

ArpReading ReadArpOutcome(int exitStatus, const QString& output) {
    if (exitStatus != 0) {
        return {false, exitStatus == 1 ? QString() : "error. (" + fw::Str(exitStatus) + ")"};
    }
    if (fw::InStrB(0, output, "no entry") > 0) {
        return {false, "no entry."};
    }
    if (fw::InStrB(0, output, "incomplete") > 0) {
        return {false, "incomplete."};
    }
    return {true, fw::Trim(fw::NthField(fw::NthField(output, "at", 2), "on", 1))};
}
