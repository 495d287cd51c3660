#include "tests/support/WithoutRoot.h"

#include <unistd.h>

WithoutRoot::WithoutRoot() : mWasRoot(::geteuid() == 0) {
    if (mWasRoot) {
        // The group first: once the user is nobody, the group can no longer change.
        mDropped = ::setegid(65534) == 0 && ::seteuid(65534) == 0;
    }
}

WithoutRoot::~WithoutRoot() {
    if (mWasRoot) {
        (void)!::seteuid(0);
        (void)!::setegid(0);
    }
}
