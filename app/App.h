#pragma once
// The application object. Its one behaviour is its "Open" handler, which reads the host file
// before the main window opens, so that the window can show what it read. Main thread only.

#include "framework/gui/Application.h"

class App : public fw::Application {
public:
    // "Open": InitApp.
    void Event_Open() override;
    // LoadInfo.
    virtual void InitApp();
    // Reads the host file into the known-host tables, the local zone and the default first
    // octet (Global1::LoadInfo).
    virtual void LoadInfo();
};
