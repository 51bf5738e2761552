// The fuzz regression corpus (fuzz/corpus, copied to bin/fuzz_corpus): damaged TGA, BMP, PNG and
// GIF files the fuzzer turned up or that stand for a class of them. TGA files are decoded by the
// library and must load or be refused exactly as their names say; the others are decoded by GDI+
// and may go either way. Every file that loads is drawn at the surface's edges and beyond, and
// must leave the row padding alone; nothing leaks GDI objects.
#include <doctest.h>

#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "BitmapTestFiles.h"

namespace {

std::vector<std::string> CorpusFiles() {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE h = ::FindFirstFileA("fuzz_corpus\\*", &found);
    if (h == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
    } while (::FindNextFileA(h, &found));
    ::FindClose(h);
    return names;
}

bool StartsWith(const std::string& s, const char* head) { return s.compare(0, std::strlen(head), head) == 0; }
bool EndsWith(const std::string& s, const char* tail) {
    const size_t n = std::strlen(tail);
    return s.size() >= n && s.compare(s.size() - n, n, tail) == 0;
}

const int kWidth = 23, kHeight = 11;  // 69 bytes of pixels a row, stride 72: three padding bytes

// The padding of the back buffer and of the background copy (DrawBack copies it back whole).
void MarkPadding(CVorGraphics& g) {
    for (BYTE* rows : {g.GetPixels(), g.GetBackCopy()})
        for (int y = 0; y < kHeight; ++y)
            for (int x = 3 * kWidth; x < g.GetStride(); ++x) rows[y * g.GetStride() + x] = 0xC3;
}
bool PaddingKept(const CVorGraphics& g) {
    for (const BYTE* rows : {g.GetPixels(), g.GetBackCopy()})
        for (int y = 0; y < kHeight; ++y)
            for (int x = 3 * kWidth; x < g.GetStride(); ++x)
                if (rows[y * g.GetStride() + x] != 0xC3) return false;
    return true;
}

// Places at and beyond every edge, and the ends of the int range.
const int kPlaces[][2] = {{0, 0},     {-1, -1},          {kWidth - 1, kHeight - 1}, {kWidth, kHeight},
                          {-5, 3},    {20, -4},          {INT_MIN, INT_MIN},        {INT_MAX, INT_MAX},
                          {INT_MIN, 0}, {0, INT_MAX}};

}  // namespace

TEST_CASE("every corpus file loads or is refused as named, and draws inside the surface") {
    EnsureGdiplus();
    const std::vector<std::string> files = CorpusFiles();
    REQUIRE(files.size() >= 20);
    CVorGraphics g;
    REQUIRE(g.Init(kWidth, kHeight));
    g.InitGraphics(static_cast<CPaintDC*>(nullptr));
    REQUIRE(g.GetStride() == 72);

    // Warm-up: GDI+ makes some objects once.
    {
        CVorBitmap warm;
        warm.Init(Wide("fuzz_corpus\\" + files[0]).c_str());
    }
    const unsigned gdiBefore = GdiObjectCount();
    int tgaChecked = 0, others = 0;
    for (const std::string& name : files) {
        CAPTURE(name);
        const std::string path = "fuzz_corpus\\" + name;
        MarkPadding(g);
        if (EndsWith(name, ".tga")) {
            CVorTga t;
            const bool ok = t.Init(path.c_str());
            if (StartsWith(name, "refused_")) {
                CHECK_FALSE(ok);
                CHECK(t.GetBuffer() == nullptr);
                CHECK(t.GetWidth() == 0);
                CHECK(t.GetHeight() == 0);
            } else {
                CHECK(StartsWith(name, "loads_"));
                CHECK(ok);
                CHECK((t.GetBuffer() != nullptr) == (t.GetWidth() * t.GetHeight() > 0));
            }
            for (const auto& p : kPlaces) {
                g.Draw(&t, p[0], p[1]);
                g.Draw(&t, p[0], p[1], -1, -1, INT_MAX, INT_MAX);
                g.Draw(&t, p[0], p[1], 0, 0, INT_MAX, INT_MIN, 128);
            }
            ++tgaChecked;
        } else {
            std::vector<CVorBitmap> loaded(2);
            loaded[0].Init(Wide(path).c_str());
            if (EndsWith(name, ".gif")) loaded[1].InitGif(Wide(path).c_str());
            else loaded[1].Init(Wide(path).c_str(), 255, 0, 255);
            // BMP files that crashed a system decoder or declare more than the size limit are
            // refused before it sees them; GIFs without a colour table are given a gray one.
            if (StartsWith(name, "any_found_bmp_")) {
                const Gdiplus::Status why = loaded[0].GetLastStatus();
                CHECK((why == Gdiplus::UnknownImageFormat || why == Gdiplus::ValueOverflow));
            }
            if (name == "any_found_gif_no_colour_table.gif") CHECK(loaded[0].GetLastStatus() == Gdiplus::Ok);
            if (StartsWith(name, "any_found_bmp_rle8_bomb")) CHECK(loaded[0].GetLastStatus() == Gdiplus::ValueOverflow);
            for (CVorBitmap& b : loaded) {
                // A refused file leaves a failed GDI+ object: no pixels, the failure in the status.
                REQUIRE(b.GetBitmap() != nullptr);
                if (b.GetWidth() == 0) {
                    CHECK(b.GetHeight() == 0);
                    CHECK(b.GetLastStatus() != Gdiplus::Ok);
                }
                for (const auto& p : kPlaces) {
                    g.Draw(&b, p[0], p[1]);
                    g.Draw(&b, p[0], p[1], 100);
                    g.Draw(&b, p[0], p[1], -3, -3, INT_MAX, INT_MAX);
                    g.DrawImage(&b, p[0], p[1], 40, 40);
                }
                g.SetBackBitmap(&b);
                g.DrawBack();
            }
            ++others;
        }
        CHECK(PaddingKept(g));
    }
    CHECK(tgaChecked >= 10);
    CHECK(others >= 10);
    CHECK(GdiObjectCount() <= gdiBefore + 2);
}
