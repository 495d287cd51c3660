#pragma once
// For a window that a test or a benchmark holds itself rather than the runtime: releases it
// (fw::Window::Release) when the scope ends, as the runtime does before it destroys a window.
// Declared after the window, it goes first, so the window is whole when it is released, on every
// way out of the scope (a failed assertion too). Main thread only.

#include "framework/gui/Window.h"

class ScopedWindowRelease {
public:
    explicit ScopedWindowRelease(fw::Window& window) : mWindow(window) {}
    ~ScopedWindowRelease() { mWindow.Release(); }
    ScopedWindowRelease(const ScopedWindowRelease&) = delete;
    ScopedWindowRelease& operator=(const ScopedWindowRelease&) = delete;

private:
    fw::Window& mWindow;
};
