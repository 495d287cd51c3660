#pragma once
// What a walk needs of its window. The walk calls these on the scan thread, in walk order; a
// window whose list belongs to another thread hands each call over and keeps that order.

#include <QString>
#include <atomic>

// What the walk does to the result list.
class ResultList {
public:
    virtual ~ResultList() = default;
    virtual void DeleteAllRows() = 0;
    virtual void AddRow(const QString& text) = 0;  // column 0 of a new last row
    virtual void SetCell(int row, int column, const QString& text) = 0;
    virtual void Refresh(bool now) = 0;
};

class ScanWindow {
public:
    virtual ~ScanWindow() = default;

    // The stop flag: written on the main thread, read by the walk before every address.
    std::atomic<bool> pStop{false};

    virtual ResultList& ListBox1() = 0;
    // Called once, on the scan thread, after every walk.
    virtual void ExecuteEnd() = 0;
};
