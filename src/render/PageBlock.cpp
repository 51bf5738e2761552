#include "render/PageBlock.h"

namespace {
size_t PageSize() {
    SYSTEM_INFO info;
    ::GetSystemInfo(&info);
    return info.dwPageSize;
}
size_t PagesFor(size_t bytes, size_t page) { return (bytes + page - 1) / page; }
}  // namespace

BYTE* AllocatePageBlock(size_t bytes) {
    if (bytes == 0) return nullptr;
    const size_t page = PageSize();
    const size_t pages = PagesFor(bytes, page);
    if (pages > (SIZE_MAX / page) - 1) return nullptr;
    // Reserve one page more than needed and commit all but that last one.
    BYTE* base = static_cast<BYTE*>(::VirtualAlloc(nullptr, (pages + 1) * page, MEM_RESERVE, PAGE_NOACCESS));
    if (!base) return nullptr;
    if (!::VirtualAlloc(base, pages * page, MEM_COMMIT, PAGE_READWRITE)) {
        ::VirtualFree(base, 0, MEM_RELEASE);
        return nullptr;
    }
    return base + pages * page - bytes;
}

void FreePageBlock(BYTE* p, size_t bytes) {
    if (!p) return;
    const size_t page = PageSize();
    ::VirtualFree(p + bytes - PagesFor(bytes, page) * page, 0, MEM_RELEASE);
}
