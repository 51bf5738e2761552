#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cmath>

#include "Bench.h"

namespace {
double Now() {
    LARGE_INTEGER f, t;
    ::QueryPerformanceFrequency(&f);
    ::QueryPerformanceCounter(&t);
    return double(t.QuadPart) / double(f.QuadPart);
}

uint32_t Next(uint32_t& s) {
    s = s * 1664525u + 1013904223u;
    return s >> 8;
}
}  // namespace

namespace {
// Calls per batch: enough for about 50 ms.
int CallsPerBatch(const std::function<void()>& work) {
    work();
    int calls = 1;
    for (;;) {
        const double t0 = Now();
        for (int i = 0; i < calls; ++i) work();
        if (Now() - t0 > 0.05 || calls >= (1 << 20)) return calls;
        calls *= 2;
    }
}
}  // namespace

std::vector<double> MedianSecondsInTurns(const std::vector<std::function<void()>>& contenders, int repeats) {
    std::vector<int> calls;
    for (const auto& work : contenders) calls.push_back(CallsPerBatch(work));
    std::vector<std::vector<double>> times(contenders.size());
    for (int r = 0; r < repeats; ++r)
        for (size_t k = 0; k < contenders.size(); ++k) {
            const double t0 = Now();
            for (int i = 0; i < calls[k]; ++i) contenders[k]();
            times[k].push_back((Now() - t0) / calls[k]);
        }
    std::vector<double> medians;
    for (std::vector<double>& t : times) {
        std::sort(t.begin(), t.end());
        medians.push_back(t[t.size() / 2]);
    }
    return medians;
}

double MedianSecondsPerCall(const std::function<void()>& work, int repeats) {
    return MedianSecondsInTurns({work}, repeats)[0];
}

void Report(const std::string& group, const std::string& name, double value, const char* unit) {
    std::printf("%s,%s,%.2f,%s\n", group.c_str(), name.c_str(), value, unit);
    std::fflush(stdout);
}

Picture SpritePicture(int width, int height, int tile) {
    Picture p;
    p.width = width;
    p.height = height;
    p.bgra.resize(size_t(width) * height * 4);
    const double r = tile * 0.5;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            uint8_t* q = &p.bgra[(size_t(y) * width + x) * 4];
            const double dx = (x % tile) + 0.5 - r, dy = (y % tile) + 0.5 - r;
            const double d = std::sqrt(dx * dx + dy * dy);
            // Opaque inside 80% of the radius, fading to clear at the rim.
            const double a = d < 0.8 * r ? 1.0 : d >= r ? 0.0 : (r - d) / (0.2 * r);
            q[0] = uint8_t(40 + x % 200);
            q[1] = uint8_t(90 + y % 150);
            q[2] = uint8_t(200 - (x + y) % 180);
            q[3] = uint8_t(a * 255.0 + 0.5);
        }
    return p;
}

Picture NoisePicture(int width, int height) {
    Picture p;
    p.width = width;
    p.height = height;
    p.bgra.resize(size_t(width) * height * 4);
    uint32_t s = 12345;
    for (uint8_t& b : p.bgra) b = uint8_t(Next(s));
    return p;
}

Picture GroundPicture(int width, int height) {
    Picture p;
    p.width = width;
    p.height = height;
    p.bgra.resize(size_t(width) * height * 4);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            uint8_t* q = &p.bgra[(size_t(y) * width + x) * 4];
            const bool check = ((x / 32) + (y / 32)) % 2 != 0;
            q[0] = uint8_t(check ? 0x60 : 0x50);
            q[1] = uint8_t(0x30 + y * 100 / height);
            q[2] = uint8_t(0x20 + x * 100 / width);
            q[3] = 255;
        }
    return p;
}

std::vector<uint8_t> TgaFileOf(const Picture& p) {
    std::vector<uint8_t> file(18 + p.bgra.size(), 0);
    file[2] = 2;  // true colour
    file[12] = uint8_t(p.width), file[13] = uint8_t(p.width >> 8);
    file[14] = uint8_t(p.height), file[15] = uint8_t(p.height >> 8);
    file[16] = 32;
    file[17] = 0x28;  // 8 alpha bits, top row first
    std::copy(p.bgra.begin(), p.bgra.end(), file.begin() + 18);
    return file;
}

std::vector<uint8_t> Premultiplied(const Picture& p) {
    std::vector<uint8_t> out(p.bgra);
    for (size_t i = 0; i < out.size(); i += 4)
        for (int c = 0; c < 3; ++c) out[i + c] = uint8_t((out[i + c] * out[i + 3] + 127) / 255);
    return out;
}
