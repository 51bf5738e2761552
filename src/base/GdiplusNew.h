// Makes a GDI+ wrapper object without crashing when GDI+ cannot allocate it.
// The wrappers' operator new (GdipAlloc) returns null on failure but is not declared
// non-throwing, so a plain new-expression would construct at address 0. This one returns null
// instead; delete the object with plain delete as usual.
#pragma once
#include <new>
#include <utility>

#include "VorFramework.h"

template <class T, class... Args>
T* NewGdiplus(Args&&... args) {
    void* memory = T::operator new(sizeof(T));
    if (!memory) return nullptr;
    return ::new (memory) T(std::forward<Args>(args)...);
}

// The status GDI+ gave a wrapper object (a brush, a bitmap) it has just made. Reading it clears it
// in the object, so an object that was not made is asked once more about itself (GDI+ answers
// InvalidParameter for a missing native object): its own GetLastStatus stays failed for the host.
template <class T>
Gdiplus::Status CreationStatus(T* made) {
    const Gdiplus::Status created = made->GetLastStatus();
    if (created != Gdiplus::Ok) made->GetType();
    return created;
}
