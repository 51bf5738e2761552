// CVorZang: the dirty list refuses contained rectangles and merges meeting ones.
#include <doctest.h>

#include <random>
#include <vector>

#include "TestSupport.h"

static std::vector<CVorRect> Entries(const CVorZang& z) { return {z.GetRects().begin(), z.GetRects().end()}; }

TEST_CASE("merge rules") {
    CVorZang z;
    SUBCASE("a rectangle inside an entry, edges included, is refused") {
        z.AddRect(CVorRect(0, 0, 10, 10));
        z.AddRect(CVorRect(0, 0, 10, 10));
        z.AddRect(CVorRect(10, 10, 0, 0));
        z.AddRect(CVorRect(3, 3, 7, 7));
        CHECK(Entries(z) == std::vector<CVorRect>{CVorRect(0, 0, 10, 10)});
    }
    SUBCASE("touching along an edge merges") {
        z.AddRect(CVorRect(0, 0, 10, 10));
        z.AddRect(CVorRect(10, 0, 10, 10));
        CHECK(Entries(z) == std::vector<CVorRect>{CVorRect(0, 0, 20, 10)});
    }
    SUBCASE("a gap of one column keeps two entries in order") {
        z.AddRect(CVorRect(0, 0, 10, 10));
        z.AddRect(CVorRect(11, 0, 10, 10));
        CHECK(Entries(z) == std::vector<CVorRect>{CVorRect(0, 0, 10, 10), CVorRect(11, 0, 10, 10)});
    }
    SUBCASE("touching at a corner merges into the bounding box") {
        z.AddRect(CVorRect(0, 0, 10, 10));
        z.AddRect(CVorRect(10, 10, 5, 5));
        CHECK(Entries(z) == std::vector<CVorRect>{CVorRect(0, 0, 15, 15)});
    }
    SUBCASE("a cross merges") {
        z.AddRect(CVorRect(0, 5, 30, 4));
        z.AddRect(CVorRect(10, 0, 5, 20));
        CHECK(Entries(z) == std::vector<CVorRect>{CVorRect(0, 0, 30, 20)});
    }
    SUBCASE("growth cascades to entries met only after growing") {
        z.AddRect(CVorRect(0, 0, 10, 10));
        z.AddRect(CVorRect(20, 20, 5, 5));
        z.AddRect(CVorRect(8, 8, 14, 14));
        CHECK(Entries(z) == std::vector<CVorRect>{CVorRect(0, 0, 25, 25)});
    }
    SUBCASE("a new entry swallows the entries inside it") {
        z.AddRect(CVorRect(1, 1, 2, 2));
        z.AddRect(CVorRect(5, 5, 2, 2));
        z.AddRect(CVorRect(40, 40, 2, 2));
        z.AddRect(CVorRect(0, 0, 10, 10));
        CHECK(Entries(z) == std::vector<CVorRect>{CVorRect(40, 40, 2, 2), CVorRect(0, 0, 10, 10)});
    }
    SUBCASE("a point outside every entry becomes an entry") {
        z.AddRect(CVorRect(0, 0, 10, 10));
        z.AddRect(CVorRect(30, 30, 0, 0));
        CHECK(Entries(z) == std::vector<CVorRect>{CVorRect(0, 0, 10, 10), CVorRect(30, 30, 0, 0)});
    }
}

TEST_CASE("CheckRect reports containment and the first meeting entry") {
    CVorZang z;
    z.AddRect(CVorRect(0, 0, 10, 10));
    z.AddRect(CVorRect(50, 50, 10, 10));
    CHECK(z.CheckRect(CVorRect(50, 50, 10, 10)));
    CHECK_FALSE(z.CheckRect(CVorRect(5, 5, 10, 1)));
    CVorRect overlap(-1, -1, -1, -1);
    CHECK(z.CheckRect(CVorRect(10, 2, 5, 3), overlap));
    CHECK(overlap == CVorRect(0, 0, 0, 3));
    CVorRect untouched(7, 7, 7, 7);
    CHECK_FALSE(z.CheckRect(CVorRect(20, 20, 5, 5), untouched));
    CHECK(untouched == CVorRect(7, 7, 7, 7));
}

TEST_CASE("clearing, copying and assigning") {
    CVorZang z;
    z.ClearRect();
    z.Init();
    CHECK(z.GetRects().empty());
    z.AddRect(CVorRect(0, 0, 1, 1));
    z.AddRect(CVorRect(5, 5, 1, 1));
    CVorZang copy(z);
    CHECK(Entries(copy) == Entries(z));
    CVorZang assigned;
    assigned.AddRect(CVorRect(100, 100, 1, 1));
    assigned = z;
    CHECK(Entries(assigned) == Entries(z));
    assigned = assigned;
    CHECK(Entries(assigned) == Entries(z));
    z.ClearRect();
    CHECK(z.GetRects().empty());
    CHECK(copy.GetRects().size() == 2);
}

static bool Meet(const CVorRect& a, const CVorRect& b) { return a.CheckSuperpose(b) != 0; }

TEST_CASE("invariant over random inputs: entries never meet and cover every rectangle added") {
    std::mt19937 rng(777);
    for (int scene = 0; scene < 300; ++scene) {
        CVorZang z;
        std::vector<CVorRect> added;
        std::uniform_int_distribution<int> pos(-20, 300), size(0, 40);
        int count = 1 + scene % 40;
        for (int i = 0; i < count; ++i) {
            CVorRect r(pos(rng), pos(rng), size(rng), size(rng));
            added.push_back(r);
            z.AddRect(r);
            std::vector<CVorRect> e = Entries(z);
            for (size_t a = 0; a < e.size(); ++a)
                for (size_t b = a + 1; b < e.size(); ++b) REQUIRE_FALSE(Meet(e[a], e[b]));
            for (const CVorRect& done : added) REQUIRE(z.CheckRect(done));
        }
    }
}
