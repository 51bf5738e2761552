// Seeded byte mutations of picture files: everything a replaced or damaged file can throw at a
// loader (flipped bits, odd header values, sizes near the limits, cut or padded files, repeated
// or dropped spans). The same seed always gives the same bytes.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace fuzz {

// splitmix64: spreads a run seed and an input number into an independent seed per input.
inline uint64_t MixSeed(uint64_t x) {
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

// A small fast generator with a fixed algorithm, so runs repeat on every compiler.
class Random {
public:
    explicit Random(uint64_t seed) : m_state(seed) {}
    uint64_t Next() {
        m_state = MixSeed(m_state);
        return m_state;
    }
    // lo..hi inclusive.
    int64_t Range(int64_t lo, int64_t hi) {
        if (hi <= lo) return lo;
        return lo + int64_t(Next() % uint64_t(hi - lo + 1));
    }
    bool OneIn(int n) { return Range(0, n - 1) == 0; }
    // Values that sit on the edges of signed and unsigned ranges, or are plain small numbers.
    int64_t Interesting() {
        static const int64_t values[] = {0,          1,          2,          3,          4,         7,
                                         8,          15,         16,         31,         32,        63,
                                         64,         127,        128,        255,        256,       512,
                                         1000,       1024,       4096,       32767,      32768,     65535,
                                         65536,      0x7FFFFFFF, 0x80000000, 0xFFFFFFFF, -1,        -2,
                                         -128,       -32768,     100000,     0x10000000, 0x40000000};
        if (OneIn(4)) return Range(-300, 300);
        return values[Range(0, int64_t(sizeof values / sizeof values[0]) - 1)];
    }

private:
    uint64_t m_state;
};

inline void PutLittle(std::vector<uint8_t>& v, size_t at, uint64_t value, int bytes) {
    for (int i = 0; i < bytes && at + size_t(i) < v.size(); ++i) v[at + size_t(i)] = uint8_t(value >> (8 * i));
}

// One to a few mutations of file; headerBytes marks the part where sizes and types live, which
// gets most of the attention.
inline void Mutate(std::vector<uint8_t>& file, size_t headerBytes, Random& rng) {
    const int count = int(rng.Range(1, rng.OneIn(3) ? 8 : 2));
    for (int k = 0; k < count; ++k) {
        if (file.empty()) {
            file.resize(size_t(rng.Range(1, 32)), uint8_t(rng.Next()));
            continue;
        }
        const size_t n = file.size();
        const size_t header = headerBytes < n ? headerBytes : n;
        const bool inHeader = rng.Range(0, 9) < 6;
        const size_t at = inHeader ? size_t(rng.Range(0, int64_t(header) - 1)) : size_t(rng.Range(0, int64_t(n) - 1));
        switch (rng.Range(0, 10)) {
            case 0:  // one bit
                file[at] ^= uint8_t(1u << rng.Range(0, 7));
                break;
            case 1:  // one byte, any value
                file[at] = uint8_t(rng.Next());
                break;
            case 2:  // one byte, an edge value
                file[at] = uint8_t(rng.Interesting());
                break;
            case 3:  // a 16-bit field
                PutLittle(file, at, uint64_t(rng.Interesting()), 2);
                break;
            case 4:  // a 32-bit field, either byte order
                if (rng.OneIn(4)) {
                    const uint32_t v = uint32_t(rng.Interesting());
                    PutLittle(file, at, (v >> 24) | ((v >> 8) & 0xFF00) | ((v << 8) & 0xFF0000) | (v << 24), 4);
                } else {
                    PutLittle(file, at, uint64_t(rng.Interesting()), 4);
                }
                break;
            case 5:  // cut anywhere
                file.resize(size_t(rng.Range(0, int64_t(n) - 1)));
                break;
            case 6:  // trailing bytes
                file.resize(n + size_t(rng.Range(1, 300)), uint8_t(rng.Next()));
                break;
            case 7: {  // a span repeated in place
                const size_t len = size_t(rng.Range(1, int64_t(n - at < 64 ? n - at : 64)));
                std::vector<uint8_t> span(file.begin() + ptrdiff_t(at), file.begin() + ptrdiff_t(at + len));
                file.insert(file.begin() + ptrdiff_t(at), span.begin(), span.end());
                break;
            }
            case 8: {  // a span dropped
                const size_t len = size_t(rng.Range(1, int64_t(n - at < 64 ? n - at : 64)));
                file.erase(file.begin() + ptrdiff_t(at), file.begin() + ptrdiff_t(at + len));
                break;
            }
            case 9: {  // a span filled with one value
                const size_t len = size_t(rng.Range(1, int64_t(n - at < 32 ? n - at : 32)));
                const uint8_t value = rng.OneIn(2) ? uint8_t(0xFF) : uint8_t(rng.Next());
                for (size_t i = 0; i < len; ++i) file[at + i] = value;
                break;
            }
            default:  // a span of random bytes
                for (size_t i = at, end = at + size_t(rng.Range(1, 16)); i < end && i < n; ++i)
                    file[i] = uint8_t(rng.Next());
                break;
        }
    }
}

// PNG chunks carry a CRC; most mutations would only test the CRC check. Recomputing them lets a
// mutated header or data chunk reach the decoder proper.
inline uint32_t Crc32(const uint8_t* p, size_t n) {
    uint32_t c = 0xFFFFFFFFu;
    for (size_t i = 0; i < n; ++i) {
        c ^= p[i];
        for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1u)));
    }
    return c ^ 0xFFFFFFFFu;
}

inline void FixPngCrcs(std::vector<uint8_t>& file) {
    size_t at = 8;
    while (at + 12 <= file.size()) {
        const uint32_t len = uint32_t(file[at]) << 24 | uint32_t(file[at + 1]) << 16 | uint32_t(file[at + 2]) << 8 |
                             uint32_t(file[at + 3]);
        if (len > file.size() - at - 12) return;
        const uint32_t crc = Crc32(&file[at + 4], size_t(len) + 4);
        const size_t c = at + 8 + len;
        file[c] = uint8_t(crc >> 24);
        file[c + 1] = uint8_t(crc >> 16);
        file[c + 2] = uint8_t(crc >> 8);
        file[c + 3] = uint8_t(crc);
        at = c + 4;
    }
}

}  // namespace fuzz
