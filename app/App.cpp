#include "app/App.h"

#include "scan/Global1.h"

void App::Event_Open() {
    InitApp();
}

void App::InitApp() {
    LoadInfo();
}

void App::LoadInfo() {
    Global1::LoadInfo();
}
