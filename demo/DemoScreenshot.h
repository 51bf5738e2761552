// Saves what a window shows (its client area) as a PNG file through GDI+.
#pragma once
#include "VorImage4.h"

bool SaveClientPng(HWND hwnd, const wchar_t* path);
