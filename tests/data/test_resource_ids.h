// Bitmap resources compiled into every test program (tests/data/test_resources.rc), and the
// pixels they hold (tests/data/make_test_bitmaps.py writes the BMP files from the same rules).
#pragma once

#define IDB_TEST24_5X3 101  // 24-bit, 5 x 3 (rows padded to 16 bytes)
#define IDB_TEST8_3X2 102   // 8-bit palette, 3 x 2
#define IDB_TEST24_1X4 103  // 24-bit, 1 x 4 (rows padded to 4 bytes)
#define IDB_TEST_MISSING 999

#ifndef RC_INVOKED
struct TestRgb {
    unsigned char r, g, b;
};

// Pixel (x, y) of each picture, y = 0 the top row.
inline TestRgb TestPixel24x5x3(int x, int y) {
    return TestRgb{(unsigned char)(30 + 40 * x), (unsigned char)(10 + 60 * y), (unsigned char)(250 - 20 * x - 50 * y)};
}
inline TestRgb TestPalette8(int index) {
    static const TestRgb palette[4] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {120, 80, 40}};
    return palette[index & 3];
}
inline int TestIndex8x3x2(int x, int y) { return (x + 2 * y) % 4; }
inline TestRgb TestPixel24x1x4(int x, int y) {
    (void)x;
    return TestRgb{(unsigned char)(5 + 50 * y), 7, (unsigned char)(200 - 40 * y)};
}
#endif
