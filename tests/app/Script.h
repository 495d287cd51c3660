#pragma once
// A script of steps for a run of the whole program: each step runs once its condition holds, one
// step per look, and the conditions are looked at every few milliseconds by the event loop while it
// runs. A step whose action runs a loop of its own (a message box) holds the next one back until it
// has returned. The steps get the main window (nothing runs before it exists). Main thread only;
// belongs to Qt's application object unless given another parent.

#include "app/Window1.h"
#include "framework/gui/Runtime.h"

#include <QCoreApplication>
#include <QObject>
#include <QTimer>
#include <functional>
#include <utility>
#include <vector>

class Script : public QObject {
public:
    using Condition = std::function<bool(Window1&)>;
    using Action = std::function<void(Window1&)>;

    explicit Script(QObject* parent = QCoreApplication::instance()) : QObject(parent) {
        QObject::connect(&mTimer, &QTimer::timeout, this, [this] { Look(); });
    }

    Script& Then(Condition condition, Action action) {
        mSteps.push_back({std::move(condition), std::move(action)});
        return *this;
    }
    Script& Then(Action action) {
        return Then([](Window1&) { return true; }, std::move(action));
    }

    // Starts looking once the event loop runs.
    void Start() { mTimer.start(10); }
    // How many steps have run.
    std::size_t Done() const { return mNext; }

    static Window1* MainWindow() {
        return dynamic_cast<Window1*>(fw::RuntimeGetImplicitWindow("Window1.Window1"));
    }

private:
    struct Step {
        Condition condition;
        Action action;
    };

    void Look() {
        Window1* window = MainWindow();
        if (window == nullptr || mNext >= mSteps.size() || mInAction) {
            return;
        }
        if (mSteps[mNext].condition(*window)) {
            mInAction = true;
            mSteps[mNext++].action(*window);
            mInAction = false;
        }
        if (mNext == mSteps.size()) {
            mTimer.stop();
        }
    }

    std::vector<Step> mSteps;
    std::size_t mNext = 0;
    bool mInAction = false;
    QTimer mTimer;
};
