#include "bench/StartupProbe.h"

#include "bench/ProcessStats.h"
#include "tests/support/FakeClock.h"
#include "tests/support/FakeShell.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QLineEdit>
#include <QMainWindow>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <algorithm>
#include <cstdio>

namespace {

constexpr int kRows = 1000;
// How long the shown window is left alone before its memory is read, and after the rows.
constexpr int kSettleMs = 500;

void InstallStartupProbe() {
    auto* app = QCoreApplication::instance();
    app->installEventFilter(new StartupProbe(app));
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(InstallStartupProbe)

StartupProbe::StartupProbe(QObject* parent) : QObject(parent) {}

StartupProbe::~StartupProbe() = default;

bool StartupProbe::eventFilter(QObject* watched, QEvent* event) {
    if (mShownNs == 0 && event->type() == QEvent::Show) {
        if (auto* window = qobject_cast<QMainWindow*>(watched); window && window->isWindow()) {
            mShownNs = ProcessStats::MonotonicNanoseconds();
            mWindow = window;
            QTimer::singleShot(kSettleMs, this, [this] { Idle(); });
        }
    } else if (mPaintedNs == 0 && mShownNs != 0 && event->type() == QEvent::Paint &&
               watched == mWindow) {
        // The window's own paint comes after its children's: the whole window has been drawn
        // once this event has been handled, so the time is taken on the way out.
        QTimer::singleShot(0, this, [this] {
            if (mPaintedNs == 0) {
                mPaintedNs = ProcessStats::MonotonicNanoseconds();
            }
        });
    }
    return QObject::eventFilter(watched, event);
}

void StartupProbe::Idle() {
    if (mPaintedNs == 0) {
        mPaintedNs = ProcessStats::MonotonicNanoseconds();
    }
    mIdleHwmKiB = ProcessStats::PeakRssKiB();
    StartWalk();
}

// ComboBox1 (scan count) is the left one of the window's two combo boxes, ComboBox2 (first
// octet) the right one; the start button is the toolbar's first action.
void StartupProbe::StartWalk() {
    if (mWindow == nullptr) {
        Finish();
        return;
    }
    QList<QComboBox*> boxes = mWindow->findChildren<QComboBox*>();
    std::sort(boxes.begin(), boxes.end(),
              [](QComboBox* a, QComboBox* b) { return a->x() < b->x(); });
    QToolBar* toolbar = mWindow->findChild<QToolBar*>();
    if (boxes.size() != 2 || toolbar == nullptr || toolbar->actions().isEmpty()) {
        FillDirectly();
        return;
    }
    boxes[0]->setEditText(QString::number(kRows - 1));
    boxes[1]->setEditText(QStringLiteral("100"));
    mShell = std::make_unique<FakeShell>();
    mShell->answerOthers(0, "? (198.51.100.100) at 0:aa:bb:cc:dd:ee on en0 ifscope [ethernet]");
    mClock = std::make_unique<FakeClock>();
    toolbar->actions().first()->trigger();
    AwaitRows(0);
}

// A walk shows its first rows at once; a start button that starts none is given a second.
void StartupProbe::AwaitRows(int tries) {
    constexpr int kPollMs = 50;
    const int rows = Rows();
    if (rows == kRows) {
        mRowsByWalk = true;
        QTimer::singleShot(kSettleMs, this, [this] { Finish(); });
    } else if ((rows <= 0 && tries >= 1000 / kPollMs) || tries >= 30000 / kPollMs) {
        FillDirectly();
    } else {
        QTimer::singleShot(kPollMs, this, [this, tries] { AwaitRows(tries + 1); });
    }
}

// The rows a walk would have given, made as the list makes them.
void StartupProbe::FillDirectly() {
    if (auto* tree = mWindow ? mWindow->findChild<QTreeWidget*>() : nullptr) {
        tree->clear();
        for (int row = 0; row < kRows; ++row) {
            auto* item = new QTreeWidgetItem(tree);
            item->setText(0, QStringLiteral("198.51.100.%1").arg(100 + row));
            item->setText(1, QStringLiteral("0:aa:bb:cc:dd:ee"));
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren);
        }
        tree->viewport()->repaint();
    }
    QTimer::singleShot(kSettleMs, this, [this] { Finish(); });
}

void StartupProbe::Finish() {
    std::printf(
        "vq-probe shown_ns=%lld painted_ns=%lld idle_hwm_kib=%ld rows_hwm_kib=%ld rows=%d "
        "rows_by=%s\n",
        static_cast<long long>(mShownNs), static_cast<long long>(mPaintedNs), mIdleHwmKiB,
        ProcessStats::PeakRssKiB(), Rows(), mRowsByWalk ? "walk" : "direct");
    std::fflush(stdout);
    QCoreApplication::quit();
}

int StartupProbe::Rows() const {
    auto* tree = mWindow ? mWindow->findChild<QTreeWidget*>() : nullptr;
    return tree ? tree->topLevelItemCount() : -1;
}
