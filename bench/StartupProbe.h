#pragma once
// Watches a program's start-up from inside: built into a copy of the program (startup_probe) and
// installed by the Qt start-up hook, before main's QApplication is done. It notes the monotonic
// time of the main window's first show and first paint, the peak memory once the window is idle,
// then fills the list with 1,000 rows by a walk from the start button (instant commands, a clock
// that jumps over the pauses), notes the peak memory again and quits the application. It prints
// one line to standard output:
//   vq-probe shown_ns=N painted_ns=N idle_hwm_kib=N rows_hwm_kib=N rows=N rows_by=walk|direct
// Main thread only.

#include <QObject>
#include <QPointer>
#include <cstdint>
#include <memory>

class FakeClock;
class FakeShell;
class QMainWindow;

class StartupProbe : public QObject {
public:
    explicit StartupProbe(QObject* parent);
    ~StartupProbe() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Idle();
    void StartWalk();
    void AwaitRows(int tries);
    void FillDirectly();
    void Finish();
    int Rows() const;

    QPointer<QMainWindow> mWindow;
    std::int64_t mShownNs = 0;
    std::int64_t mPaintedNs = 0;
    long mIdleHwmKiB = -1;
    bool mRowsByWalk = false;
    std::unique_ptr<FakeShell> mShell;
    std::unique_ptr<FakeClock> mClock;
};
