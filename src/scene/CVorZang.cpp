#include "CVorZang.h"

#include <cstdint>

namespace {
typedef int64_t i64;

struct Box {  // a rectangle with its far edges, in 64 bits
    i64 x, y, r, b;
    explicit Box(const CVorRect& rc) : x(rc.X), y(rc.Y), r(i64(rc.X) + rc.Width), b(i64(rc.Y) + rc.Height) {}
    bool Has(i64 px, i64 py) const { return x <= px && px <= r && y <= py && py <= b; }
};

inline CVorRect FromEdges(i64 x, i64 y, i64 r, i64 b) { return CVorRect(int(x), int(y), int(r - x), int(b - y)); }

// One step of the merge: if N and P meet, sets merged to what N becomes and grown to whether that
// counts as growth. The tests run in a fixed order; for sizes of 0 or more a test holds exactly
// when N and P meet, N then becomes their bounding box, and growth means neither contains the other.
bool MergeStep(const CVorRect& nRect, const CVorRect& pRect, CVorRect& merged, bool& grown) {
    const Box n(nRect), p(pRect);
    grown = true;
    // Quick answer for the common case: of rectangles with sizes of 0 or more that do not meet, no
    // test below holds.
    const bool sized = n.r >= n.x && n.b >= n.y && p.r >= p.x && p.b >= p.y;
    if (sized && (p.x > n.r || p.r < n.x || p.y > n.b || p.b < n.y)) return false;
    // One merge rule per line.
    // clang-format off
    if (p.x >= n.x && p.r <= n.r && p.y >= n.y && p.b <= n.b) { merged = nRect; grown = false; return true; }  // 1
    if (n.x >= p.x && n.r <= p.r && n.y >= p.y && n.b <= p.b) { merged = pRect; grown = false; return true; }  // 2
    if (p.x >= n.x && p.r <= n.r && p.y <= n.y && p.b >= n.b) { merged = FromEdges(n.x, p.y, n.r, p.b); return true; }  // 3
    if (n.x >= p.x && n.r <= p.r && n.y <= p.y && n.b >= p.b) { merged = FromEdges(p.x, n.y, p.r, n.b); return true; }  // 4
    if (n.Has(p.x, p.y) && n.Has(p.r, p.y)) { merged = FromEdges(n.x, n.y, n.r, p.b); return true; }  // 5
    if (n.Has(p.x, p.y) && n.Has(p.x, p.b)) { merged = FromEdges(n.x, n.y, p.r, n.b); return true; }  // 6
    if (n.Has(p.x, p.b) && n.Has(p.r, p.b)) { merged = FromEdges(n.x, p.y, n.r, n.b); return true; }  // 7
    if (n.Has(p.r, p.y) && n.Has(p.r, p.b)) { merged = FromEdges(p.x, n.y, n.r, n.b); return true; }  // 8
    if (p.Has(n.x, n.y) && p.Has(n.r, n.y)) { merged = FromEdges(p.x, p.y, p.r, n.b); return true; }  // 9
    if (p.Has(n.x, n.y) && p.Has(n.x, n.b)) { merged = FromEdges(p.x, p.y, n.r, p.b); return true; }  // 10
    if (p.Has(n.x, n.b) && p.Has(n.r, n.b)) { merged = FromEdges(p.x, n.y, p.r, p.b); return true; }  // 11
    if (p.Has(n.r, n.y) && p.Has(n.r, n.b)) { merged = FromEdges(n.x, p.y, p.r, p.b); return true; }  // 12
    if (p.Has(n.x, n.y)) { merged = FromEdges(p.x, p.y, n.r, n.b); return true; }  // 13
    if (p.Has(n.r, n.b)) { merged = FromEdges(n.x, n.y, p.r, p.b); return true; }  // 14
    if (p.Has(n.x, n.b)) { merged = FromEdges(p.x, n.y, n.r, p.b); return true; }  // 15
    if (p.Has(n.r, n.y)) { merged = FromEdges(n.x, p.y, p.r, n.b); return true; }  // 16
    // clang-format on
    return false;
}
}  // namespace

CVorZang::CVorZang() {}
CVorZang::CVorZang(const CVorZang& other) : m_rects(other.m_rects) {}

CVorZang& CVorZang::operator=(const CVorZang& other) {
    if (this != &other) m_rects = other.m_rects;
    return *this;
}

CVorZang::~CVorZang() {}

void CVorZang::Init() { m_rects.clear(); }
void CVorZang::ClearRect() { m_rects.clear(); }

void CVorZang::AddRect(const CVorRect& rect) {
    if (CheckRect(rect)) return;
    m_rects.push_back(rect);
    ExtRect(std::prev(m_rects.end()));
}

int CVorZang::CheckRect(const CVorRect& rect) const {
    for (const CVorRect& entry : m_rects)
        if (entry.MyContains(rect)) return 1;
    return 0;
}

int CVorZang::CheckRect(const CVorRect& rect, CVorRect& overlap) const {
    for (const CVorRect& entry : m_rects) {
        if (entry.CheckSuperpose(rect)) {
            overlap = entry.GetSuperpose(rect);
            return 1;
        }
    }
    return 0;
}

void CVorZang::ExtRect(std::list<CVorRect>::iterator it) {
    bool grownInPass = true;
    while (grownInPass) {
        grownInPass = false;
        for (auto p = m_rects.begin(); p != m_rects.end();) {
            if (p == it) {
                ++p;
                continue;
            }
            CVorRect merged;
            bool grown = false;
            if (MergeStep(*it, *p, merged, grown)) {
                *it = merged;
                grownInPass = grownInPass || grown;
                p = m_rects.erase(p);
            } else {
                ++p;
            }
        }
    }
}
