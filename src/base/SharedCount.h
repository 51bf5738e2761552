// The use count that lets copies of a pen, brush or font share one GDI+ object: every copy adds a
// use, and the wrapper that drops the last use deletes the object. Single-threaded, like the rest of
// the library.
#pragma once
#include <new>

// A new count of one use; null when it cannot be allocated.
inline long* NewSharedCount() {
    long* count = new (std::nothrow) long;
    if (count) *count = 1;
    return count;
}

inline void AddSharedUse(long* count) {
    if (count) ++*count;
}

// Drops one use and forgets the count. True when that was the last use: the caller deletes the
// shared object then.
inline bool DropSharedUse(long*& count) {
    if (!count) return false;
    const bool last = --*count == 0;
    if (last) delete count;
    count = nullptr;
    return last;
}
