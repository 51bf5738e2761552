// Memory whose last byte is followed by a no-access page: reading or writing one byte past the
// end faults at once instead of touching a neighbour. For host pixel blocks and file images given
// to loaders, and for checking that a surface buffer ends on a page boundary.
#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <cstring>

class GuardedBlock {
public:
    // size bytes (0 allowed: the pointer then sits right on the guard page).
    explicit GuardedBlock(size_t size) : m_base(nullptr), m_data(nullptr), m_size(size), m_reserved(0) {
        const size_t page = PageSize();
        const size_t pages = (size + page - 1) / page;
        m_reserved = (pages + 1) * page;
        m_base = static_cast<uint8_t*>(::VirtualAlloc(nullptr, m_reserved, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
        if (!m_base) return;
        DWORD old = 0;
        ::VirtualProtect(m_base + pages * page, page, PAGE_NOACCESS, &old);
        m_data = m_base + pages * page - size;
    }
    GuardedBlock(const void* bytes, size_t size) : GuardedBlock(size) {
        if (m_data && size) std::memcpy(m_data, bytes, size);
    }
    ~GuardedBlock() {
        if (m_base) ::VirtualFree(m_base, 0, MEM_RELEASE);
    }
    GuardedBlock(const GuardedBlock&) = delete;
    GuardedBlock& operator=(const GuardedBlock&) = delete;

    uint8_t* Data() const { return m_data; }
    size_t Size() const { return m_size; }

    static size_t PageSize() {
        SYSTEM_INFO info;
        ::GetSystemInfo(&info);
        return info.dwPageSize;
    }
    // True when the byte at p cannot be read (not committed, no access, or a guard page).
    static bool Inaccessible(const void* p) {
        MEMORY_BASIC_INFORMATION m;
        if (::VirtualQuery(p, &m, sizeof m) == 0) return true;
        if (m.State != MEM_COMMIT) return true;
        return (m.Protect & (PAGE_NOACCESS | PAGE_GUARD)) != 0;
    }

private:
    uint8_t* m_base;
    uint8_t* m_data;
    size_t m_size;
    size_t m_reserved;
};
