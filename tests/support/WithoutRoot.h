#pragma once
// While it lives, a test process running as root acts as nobody (effective user and group 65534),
// so that file and folder permissions apply to it; any other user stays as it is.

class WithoutRoot {
public:
    WithoutRoot();
    ~WithoutRoot();
    WithoutRoot(const WithoutRoot&) = delete;
    WithoutRoot& operator=(const WithoutRoot&) = delete;

    // False when root could not become nobody.
    bool ok() const { return !mWasRoot || mDropped; }

private:
    bool mWasRoot;
    bool mDropped = false;
};
