#include "scan/Global1.h"

#include "framework/Clock.h"
#include "framework/FolderItem.h"
#include "framework/Text.h"
#include "framework/TextStreams.h"
#include "framework/Thread.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>

namespace Global1 {

QString gIPLocalZone;
QString gIPLocalStart;
fw::StringArray gIPAddress;
fw::StringArray gMachineNameI;
fw::StringArray gMacAddress;
fw::StringArray gMachineNameM;

namespace {

void Release(fw::StringArray& array) {
    array.clear();
    array.shrink_to_fit();
}

void Release(QString& text) {
    text = QString();
}

}  // namespace

void InitializeGlobals() {
    gMacAddress = fw::StringArray();
    gMachineNameM = fw::StringArray();
    gMachineNameI = fw::StringArray();
    gIPAddress = fw::StringArray();
}

void FinalizeGlobals() {
    Release(gMacAddress);
    Release(gMachineNameM);
    Release(gIPLocalZone);
    Release(gMachineNameI);
    Release(gIPAddress);
    Release(gIPLocalStart);
}

void LoadInfo() {
    const std::optional<fw::FolderItem> folder = fw::GetFolderItem(QString(), 0);
    if (!folder) {
        return;
    }
    const std::optional<fw::FolderItem> file = folder->Child(QStringLiteral("info.txt"));
    if (!file || !file->Exists()) {
        return;
    }
    const std::unique_ptr<fw::TextInputStream> stream = file->OpenAsTextFile();
    if (!stream) {
        return;  // there but unreadable: as if there were none
    }
    stream->SetEncoding(fw::Encodings::UTF8);

    const QString tab = fw::Chr(9);
    const QString dot = QStringLiteral(".");
    const QString colon = QStringLiteral(":");
    bool zoneSeen = false;
    do {
        const QString line = stream->ReadLine();
        if (!fw::TextEquals(fw::LeftB(line, 2), QStringLiteral("//")) &&
            !fw::TextEquals(line, QString())) {
            const QString key = fw::NthField(line, tab, 1);
            if (fw::CountFieldsB(key, dot) == 4) {
                if (!zoneSeen) {
                    gIPLocalZone = fw::NthFieldB(key, dot, 1) + dot + fw::NthFieldB(key, dot, 2) +
                                   dot + fw::NthFieldB(key, dot, 3) + dot;
                    gIPLocalStart = fw::NthFieldB(key, dot, 4);
                    zoneSeen = true;
                } else {
                    fw::Append(gIPAddress, key);
                    fw::Append(gMachineNameI, fw::NthField(line, tab, 2));
                }
            } else if (fw::CountFieldsB(key, colon) == 6) {
                fw::Append(gMacAddress, key);
                fw::Append(gMachineNameM, fw::NthField(line, tab, 2));
            }
        }
        fw::RuntimeBackgroundTask();
    } while (!stream->Eof());
    stream->Close();
}

void gSleep(double ms) {
    if (std::isnan(ms)) {
        return;  // no reading is ever beyond a deadline of no number: it would never return
    }
    const double start = fw::Microseconds();
    for (;;) {
        const double now = fw::Microseconds();
        const double deadline = start + ms * 1000.0;
        if (deadline < now) {
            return;
        }
        // Sleep up to the deadline instead of polling: the reading after it decides.
        fw::SleepMicroseconds(std::max(deadline - now, 1.0));
        fw::RuntimeBackgroundTask();
    }
}

}  // namespace Global1
