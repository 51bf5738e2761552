// Runs of a picture's rows, prepared once when the picture is loaded, free of Windows. A picture is
// never written after loading, so each row can be cut once into runs of fully transparent pixels
// (alpha 0: a blit skips them), fully opaque pixels (alpha 255: a blit copies their pre-packed
// blue-green-red bytes) and partly transparent ones (blended pixel by pixel).
//
// A run of transparent or opaque pixels shorter than kTgaMinSolidRun is counted as partial: the
// per-pixel rule gives the same bytes for it, and the table stays small (see Bytes()).
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

enum class TgaRunKind : uint8_t { Transparent = 0, Opaque = 1, Partial = 2 };

const int kTgaMinSolidRun = 8;

struct TgaRun {
    uint32_t packed;  // opaque runs: offset in opaqueBgr of the run's first pixel; 0 otherwise
    uint16_t end;     // column after the run's last pixel (the run starts where the one before ends)
    TgaRunKind kind;
};

struct TgaRunTable {
    uint32_t width = 0, height = 0;
    std::vector<uint32_t> rowStart;  // height + 1 entries: row r's runs are runs[rowStart[r] .. rowStart[r + 1])
    std::vector<TgaRun> runs;
    std::vector<uint8_t> opaqueBgr;    // the pixels of the opaque runs, 3 bytes each (blue, green, red)
    std::vector<uint16_t> rowLongest;  // per row: its longest transparent or opaque run (0: none)

    // Memory the table holds: 8 bytes a run, 6 a row, 3 an opaque pixel.
    size_t Bytes() const;
};

// Cuts the rows of width x height pixels (4 bytes each: blue, green, red, alpha; top row first) into
// runs. False (table left empty) when the memory cannot be had or the picture is wider than 65535.
bool BuildTgaRuns(const uint8_t* pixels, uint32_t width, uint32_t height, TgaRunTable& table);
