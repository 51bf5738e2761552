// CVorRect: closed-rectangle containment, overlap and the overlap rectangle.
#include <doctest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <random>

#include "TestSupport.h"

namespace doctest {
template <> struct StringMaker<CVorRect> {
    static String convert(const CVorRect& r) {
        char t[80];
        snprintf(t, sizeof t, "(%d, %d, %d, %d)", r.X, r.Y, r.Width, r.Height);
        return t;
    }
};
}  // namespace doctest

TEST_CASE("points on the far edges belong to the rectangle") {
    CVorRect a(0, 0, 10, 10);
    CHECK(a.MyContains(0, 0));
    CHECK(a.MyContains(10, 10));
    CHECK_FALSE(a.MyContains(11, 10));
    CHECK_FALSE(a.MyContains(-1, 5));
}

TEST_CASE("equality compares all four fields") {
    CHECK(CVorRect(1, 2, 3, 4) == CVorRect(1, 2, 3, 4));
    CHECK(CVorRect(1, 2, 3, 4) != CVorRect(9, 2, 3, 4));
    CHECK(CVorRect(1, 2, 3, 4) != CVorRect(1, 9, 3, 4));
    CHECK(CVorRect(1, 2, 3, 4) != CVorRect(1, 2, 9, 4));
    CHECK(CVorRect(1, 2, 3, 4) != CVorRect(1, 2, 3, 9));
    CHECK_FALSE(CVorRect(1, 2, 3, 4) != CVorRect(1, 2, 3, 4));
}

TEST_CASE("overlap cases from the geometry rules") {
    CVorRect a(0, 0, 10, 10);
    SUBCASE("touching along an edge overlaps with zero width") {
        CVorRect r(10, 0, 5, 5);
        CHECK(a.CheckSuperpose(r));
        CHECK(a.GetSuperpose(r) == CVorRect(0, 0, 0, 5));
    }
    SUBCASE("one column apart does not overlap") {
        CVorRect r(11, 0, 5, 5);
        CHECK_FALSE(a.CheckSuperpose(r));
        CHECK(a.GetSuperpose(r) == CVorRect(0, 0, 0, 0));
    }
    SUBCASE("r inside A") {
        CVorRect r(2, 3, 4, 4);
        CHECK(a.GetSuperpose(r) == CVorRect(0, 0, 4, 4));
        CHECK(a.MyContains(r));
        CHECK(a.MyContains(a));
    }
    SUBCASE("A inside r") {
        CVorRect inner(2, 3, 4, 4), outer(0, 0, 10, 10);
        CHECK(inner.GetSuperpose(outer) == CVorRect(2, 3, 4, 4));
    }
    SUBCASE("the cross has no corner inside either") {
        CVorRect wide(0, 0, 100, 10), tall(40, -5, 10, 30);
        CHECK(wide.Superpose(tall));
        CHECK_FALSE(tall.Superpose(wide));
        CHECK(wide.CheckSuperpose(tall));
        CHECK(tall.CheckSuperpose(wide));
        CHECK(wide.GetSuperpose(tall) == CVorRect(0, 5, 10, 10));
    }
    SUBCASE("corner overlap") {
        CVorRect b(10, 10, 20, 20), r(0, 0, 15, 15);
        CHECK(b.GetSuperpose(r) == CVorRect(10, 10, 5, 5));
    }
    SUBCASE("a single shared point") {
        CVorRect r(10, 10, 0, 0);
        CHECK(a.CheckSuperpose(r));
        CHECK(a.GetSuperpose(r) == CVorRect(0, 0, 0, 0));
    }
}

TEST_CASE("Gdiplus::Rect arguments are read field for field") {
    CVorRect a(0, 0, 10, 10);
    Gdiplus::Rect inside(1, 1, 2, 2), outside(20, 0, 1, 1), cross(-5, 2, 20, 3);
    CHECK(a.MyContains(inside));
    CHECK_FALSE(a.MyContains(outside));
    CHECK(CVorRect(2, -5, 3, 20).Superpose(Gdiplus::Rect(0, 0, 10, 10)) == 0);
    CHECK(cross.X == -5);
    CHECK(CVorRect(-5, 2, 20, 3).Superpose(Gdiplus::Rect(0, 0, 10, 10)) == 1);
    static_assert(sizeof(CVorRect) == sizeof(Gdiplus::Rect), "same layout as Gdiplus::Rect");
}

// Reference: the closed rectangles share a point; the overlap relative to r.
static bool MeetsFormula(const CVorRect& a, const CVorRect& r) {
    int64_t l = std::max<int64_t>(a.X, r.X), t = std::max<int64_t>(a.Y, r.Y);
    int64_t rr = std::min<int64_t>(int64_t(a.X) + a.Width, int64_t(r.X) + r.Width);
    int64_t b = std::min<int64_t>(int64_t(a.Y) + a.Height, int64_t(r.Y) + r.Height);
    return l <= rr && t <= b;
}

static CVorRect OverlapFormula(const CVorRect& a, const CVorRect& r) {
    if (!MeetsFormula(a, r)) return CVorRect();
    int64_t l = std::max<int64_t>(a.X, r.X), t = std::max<int64_t>(a.Y, r.Y);
    int64_t rr = std::min<int64_t>(int64_t(a.X) + a.Width, int64_t(r.X) + r.Width);
    int64_t b = std::min<int64_t>(int64_t(a.Y) + a.Height, int64_t(r.Y) + r.Height);
    return CVorRect(int(l - r.X), int(t - r.Y), int(rr - l), int(b - t));
}

TEST_CASE("CheckSuperpose and GetSuperpose match the closed-rectangle formula") {
    std::mt19937 rng(12345);
    for (int range : {6, 40, 1000}) {
        std::uniform_int_distribution<int> pos(-range, range), size(0, range);
        for (int i = 0; i < 40000; ++i) {
            CVorRect a(pos(rng), pos(rng), size(rng), size(rng));
            CVorRect r(pos(rng), pos(rng), size(rng), size(rng));
            INFO("a=" << doctest::toString(a) << " r=" << doctest::toString(r));
            REQUIRE(a.CheckSuperpose(r) == int(MeetsFormula(a, r)));
            REQUIRE(a.GetSuperpose(r) == OverlapFormula(a, r));
        }
    }
}

TEST_CASE("extreme coordinates do not overflow") {
    CVorRect huge(INT_MAX - 5, INT_MAX - 5, INT_MAX, INT_MAX);
    CHECK(huge.MyContains(INT_MAX, INT_MAX));
    CHECK_FALSE(huge.MyContains(0, 0));
    CVorRect low(INT_MIN, INT_MIN, 10, 10);
    CHECK_FALSE(low.CheckSuperpose(CVorRect(0, 0, 10, 10)));
    CHECK(CVorRect(INT_MIN, 0, INT_MAX, 5).CheckSuperpose(CVorRect(-2, 0, 1, 1)));
}
