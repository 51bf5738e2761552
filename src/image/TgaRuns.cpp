#include "image/TgaRuns.h"

#include <new>

namespace {

inline TgaRunKind KindOf(uint8_t alpha) {
    return alpha == 0 ? TgaRunKind::Transparent : alpha == 255 ? TgaRunKind::Opaque : TgaRunKind::Partial;
}

// Appends pixels [from, to) of a row as a run of the given kind, joined to the row's last run
// when that has the same kind.
void AppendRun(TgaRunTable& t, size_t rowFirstRun, const uint8_t* row, uint32_t from, uint32_t to, TgaRunKind kind) {
    if (t.runs.size() > rowFirstRun && t.runs.back().kind == kind) {
        t.runs.back().end = uint16_t(to);
    } else {
        t.runs.push_back(TgaRun{kind == TgaRunKind::Opaque ? uint32_t(t.opaqueBgr.size()) : 0u, uint16_t(to), kind});
    }
    if (kind != TgaRunKind::Opaque) return;
    const size_t at = t.opaqueBgr.size();
    t.opaqueBgr.resize(at + size_t(3) * (to - from));  // within the reserve: never moves
    uint8_t* out = t.opaqueBgr.data() + at;
    for (const uint8_t* p = row + 4 * size_t(from); p != row + 4 * size_t(to); p += 4, out += 3) {
        out[0] = p[0];
        out[1] = p[1];
        out[2] = p[2];
    }
}

}  // namespace

size_t TgaRunTable::Bytes() const {
    return runs.capacity() * sizeof(TgaRun) + rowStart.capacity() * sizeof(uint32_t) + opaqueBgr.capacity() +
           rowLongest.capacity() * sizeof(uint16_t);
}

bool BuildTgaRuns(const uint8_t* pixels, uint32_t width, uint32_t height, TgaRunTable& table) {
    table = TgaRunTable();
    if (width > 65535) return false;
    try {
        // The opaque bytes are at most 3 per pixel of alpha 255: reserved once, so they are not moved.
        size_t opaque = 0;
        const size_t count = size_t(width) * height;
        for (size_t i = 0; i < count; ++i) opaque += pixels[4 * i + 3] == 255;
        table.opaqueBgr.reserve(3 * opaque);
        table.rowStart.reserve(size_t(height) + 1);
        table.rowLongest.assign(height, 0);
        table.width = width;
        table.height = height;
        for (uint32_t y = 0; y < height; ++y) {
            const uint8_t* row = pixels + size_t(y) * width * 4;
            const size_t first = table.runs.size();
            table.rowStart.push_back(uint32_t(first));
            for (uint32_t x = 0; x < width;) {
                const TgaRunKind kind = KindOf(row[4 * size_t(x) + 3]);
                uint32_t end = x + 1;
                while (end < width && KindOf(row[4 * size_t(end) + 3]) == kind) ++end;
                const bool shortSolid = kind != TgaRunKind::Partial && end - x < uint32_t(kTgaMinSolidRun);
                if (kind != TgaRunKind::Partial && !shortSolid && end - x > table.rowLongest[y])
                    table.rowLongest[y] = uint16_t(end - x);
                AppendRun(table, first, row, x, end, shortSolid ? TgaRunKind::Partial : kind);
                x = end;
            }
        }
        table.rowStart.push_back(uint32_t(table.runs.size()));
        table.runs.shrink_to_fit();
        table.opaqueBgr.shrink_to_fit();  // short opaque runs were counted in the reserve but are not packed
    } catch (const std::bad_alloc&) {
        table = TgaRunTable();
        return false;
    }
    return true;
}
