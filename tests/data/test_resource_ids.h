// Bitmap resources compiled into every test program (tests/data/test_resources.rc), and the
// pixels they hold (tests/data/make_test_bitmaps.py writes the BMP files from the same rules).
#pragma once

#define IDB_TEST24_5X3 101  // 24-bit, 5 x 3 (rows padded to 16 bytes)
#define IDB_TEST8_3X2 102   // 8-bit palette, 3 x 2
#define IDB_TEST24_1X4 103  // 24-bit, 1 x 4 (rows padded to 4 bytes)
#define IDB_TEST_MISSING 999
// Nine panel cells in cell order, 24-bit (cell0.bmp ... cell8.bmp). The resource DLL
// test_cells.dll (test_cells_dll.rc) holds cells of the same ids and sizes, other in red only.
#define IDB_CELL_0 201
#define IDB_CELL_1 202
#define IDB_CELL_2 203
#define IDB_CELL_3 204
#define IDB_CELL_4 205
#define IDB_CELL_5 206
#define IDB_CELL_6 207
#define IDB_CELL_7 208
#define IDB_CELL_8 209

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

// Width and height of panel cell k, and its pixel (x, y) in the executable or in test_cells.dll.
inline int TestCellWidth(int k) {
    static const int widths[9] = {6, 3, 5, 4, 3, 7, 2, 4, 2};
    return widths[k];
}
inline int TestCellHeight(int k) {
    static const int heights[9] = {5, 4, 6, 3, 2, 4, 3, 7, 2};
    return heights[k];
}
inline TestRgb TestCellPixel(int k, int x, int y, bool inDll = false) {
    return TestRgb{(unsigned char)(inDll ? 235 - 25 * k : 20 + 25 * k), (unsigned char)(40 + 30 * x),
                   (unsigned char)(40 + 30 * y)};
}
#endif
