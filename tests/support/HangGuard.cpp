#include "tests/support/HangGuard.h"

#include <cstdio>
#include <cstdlib>
#include <utility>

HangGuard::HangGuard(std::string what, std::chrono::seconds bound)
    : mWatch([this, what = std::move(what), bound] {
          std::unique_lock lock(mMutex);
          if (!mLeft.wait_for(lock, bound, [this] { return mDone; })) {
              std::fprintf(stderr, "Failure: hung: %s (after %lld s)\n", what.c_str(),
                           static_cast<long long>(bound.count()));
              std::fflush(stderr);
              std::_Exit(1);
          }
      }) {}

HangGuard::~HangGuard() {
    {
        std::lock_guard lock(mMutex);
        mDone = true;
    }
    mLeft.notify_all();
    mWatch.join();
}
