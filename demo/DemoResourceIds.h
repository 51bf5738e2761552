// Bitmap resources of the demo host (demo_resources.rc; the pictures are written by
// assets/make_demo_assets.sh).
#pragma once

// Nine menu-panel cells in cell order: top-left, top, top-right, left, right, bottom-left, bottom,
// bottom-right, centre.
#define IDB_PANEL_TL 301
#define IDB_PANEL_T 302
#define IDB_PANEL_TR 303
#define IDB_PANEL_L 304
#define IDB_PANEL_R 305
#define IDB_PANEL_BL 306
#define IDB_PANEL_B 307
#define IDB_PANEL_BR 308
#define IDB_PANEL_C 309

// Button strips: four 200 x 44 faces stacked (normal, hover, pressed, disabled).
#define IDB_BUTTON_PAUSE 311
#define IDB_BUTTON_MORE 312
#define IDB_BUTTON_QUIT 313
