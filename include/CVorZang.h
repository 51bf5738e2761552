// CVorZang - the dirty-rectangle list. A rectangle inside an entry is not added; a new entry
// swallows every entry it meets (touching included), growing to their bounding box, until no
// two entries meet.
#pragma once
#include <list>
#include "CVorRect.h"

class VORIMAGE4_API CVorZang {
public:
    CVorZang();
    CVorZang(const CVorZang& other);
    CVorZang& operator=(const CVorZang& other);
    ~CVorZang();

    // Remove every rectangle (two names, one operation).
    void Init();
    void ClearRect();

    // Record a dirty area.
    void AddRect(const CVorRect& rect);
    // 1 when an entry contains rect, edges included.
    int CheckRect(const CVorRect& rect) const;
    // 1 when an entry meets rect; overlap = that entry's GetSuperpose(rect). Untouched on 0.
    int CheckRect(const CVorRect& rect, CVorRect& overlap) const;
    // Merge the entry at it with every entry it meets.
    void ExtRect(std::list<CVorRect>::iterator it);

    std::list<CVorRect>& GetRects() { return m_rects; }
    const std::list<CVorRect>& GetRects() const { return m_rects; }

private:
    std::list<CVorRect> m_rects;  // in the order they were appended
};
