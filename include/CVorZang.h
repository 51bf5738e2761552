#pragma once
#include <list>
#include "CVorRect.h"

/// The dirty-rectangle list that drives presentation.
///
/// A rectangle inside an entry is not added; a new entry swallows every entry it meets (touching
/// included), growing to their bounding box, until no two entries meet.
class VORIMAGE4_API CVorZang {
public:
    CVorZang();                                  ///< An empty list.
    CVorZang(const CVorZang& other);             ///< Copies the entries.
    CVorZang& operator=(const CVorZang& other);  ///< Copies the entries.
    ~CVorZang();                                 ///< Frees the entries.

    /// Removes every rectangle (same as ClearRect).
    void Init();
    /// Removes every rectangle (same as Init).
    void ClearRect();

    /// Records a dirty area, merging it with the entries it meets.
    void AddRect(const CVorRect& rect);
    /// 1 when an entry contains rect, edges included.
    int CheckRect(const CVorRect& rect) const;
    /// 1 when an entry meets rect; overlap is then that entry's GetSuperpose(rect). Untouched on 0.
    int CheckRect(const CVorRect& rect, CVorRect& overlap) const;
    /// Merges the entry at it with every entry it meets.
    void ExtRect(std::list<CVorRect>::iterator it);

    /// The entries, in the order they were appended.
    std::list<CVorRect>& GetRects() { return m_rects; }
    /// The entries, in the order they were appended.
    const std::list<CVorRect>& GetRects() const { return m_rects; }

private:
    std::list<CVorRect> m_rects;  // in the order they were appended
};
