/// \file
/// VorImage4 - a 2D rendering engine for Windows game clients on GDI and GDI+.
/// Include this one header; link VorImage4 (import library libVorImage4.dll.a).
#pragma once
#include "VorFramework.h"
#include "CVorRect.h"
#include "CVorZang.h"
#include "CVorColor.h"
#include "CVorPen.h"
#include "CVorBrush.h"
#include "CVorFont.h"
#include "CVorTga.h"
#include "CVorBitmap.h"
#include "CVorGraphics.h"
#include "CVorSpriteRect.h"
#include "CVorSprite.h"
#include "CVorButton.h"
#include "CGameBackImage.h"
