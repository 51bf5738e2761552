// One fuzz input: which loader it feeds, the mutated bytes, and what became of it.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace fuzz {

enum Loader { kTga, kBmp, kPng, kGif, kInitGif, kBlock, kCApi, kLoaderCount };
const char* LoaderName(int loader);

// Starting files, by loader kind (file images as read from the seed directory).
struct SeedFiles {
    std::vector<std::vector<uint8_t>> tga, bmp, png, gif;
    bool Load(const std::string& directory);  // false when a kind has no file
};

enum Outcome { kRefused, kLoaded };

// Everything one input needs, made from its seed alone.
struct Input {
    uint64_t seed;
    int loader;
    std::vector<uint8_t> bytes;  // the file image (or the pixel block for kBlock)
    // Pixel blocks only: the header given with the block and the size argument (may be negative
    // or smaller than the pixels need; never more than the bytes held).
    int blockWidth = 0;
    int blockHeight = 0;
    int sizeArgument = 0;
    bool zoom = false;
    bool colourKey = false;
};

Input MakeInput(uint64_t seed, const SeedFiles& seeds);
// The loader an input feeds, from its seed alone.
int LoaderOf(uint64_t seed);

// Loads the input through its loader and, when it loads, draws it at random places (seeded by the
// input) on a small surface. Returns false when the surface's row padding was written.
bool RunInput(const Input& input, const std::string& tempDir, Outcome* outcome);

// The C interface's entry points that take sizes and blocks (FuzzCApi.cpp); the bytes are a TGA file image.
bool RunCApiInput(const Input& input, Outcome* outcome);

// Replay aid: names the first draw call that writes into the surface's padding.
void SetTrace(bool on);

// The file extension the input is written with.
const char* ExtensionOf(int loader);

}  // namespace fuzz
