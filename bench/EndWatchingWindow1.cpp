#include "bench/EndWatchingWindow1.h"

void EndWatchingWindow1::ExecuteEndOnMainThread() {
    Window1::ExecuteEndOnMainThread();
    if (onEnd) {
        onEnd();
    }
}
