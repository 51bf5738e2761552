// Shared pieces of the benchmark: timing by median of repeats, the test pictures, result lines.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "VorImage4.h"

// Seconds per call of work: repeats batches, each long enough to time well; the median batch.
double MedianSecondsPerCall(const std::function<void()>& work, int repeats = 7);

// Contenders timed in turns: each repeat times one batch of every contender, so a change in the
// machine's load (other programs) hits them all alike. Seconds per call, the median batch of each.
std::vector<double> MedianSecondsInTurns(const std::vector<std::function<void()>>& contenders, int repeats = 9);

// One result line: group, name, value and unit (Mpixel/s or fps), printed as CSV.
void Report(const std::string& group, const std::string& name, double value, const char* unit);

// A picture of 32-bit pixels (blue, green, red, alpha, not premultiplied), top row first.
struct Picture {
    int width = 0, height = 0;
    std::vector<uint8_t> bgra;
};

// Tiles of soft discs (opaque middle, soft rim, clear corners): what sprites look like.
Picture SpritePicture(int width, int height, int tile);
// Random colour and alpha everywhere: every pixel is blended.
Picture NoisePicture(int width, int height);
// An opaque ground: checks and gradients.
Picture GroundPicture(int width, int height);
// The picture as a TGA file image (for CVorTga::InitFromMemory).
std::vector<uint8_t> TgaFileOf(const Picture& p);
// Premultiplied copy (alpha applied to the colours), as GDI AlphaBlend and GDI+ PARGB want it.
std::vector<uint8_t> Premultiplied(const Picture& p);

void RunBlitBenchmarks();
void RunSceneBenchmarks();
void RunCostBenchmarks();
void RunLoadBenchmarks();
