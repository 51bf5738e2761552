#include "VorFramework.h"

namespace {
HINSTANCE g_resourceModule = nullptr;  // null: the host executable
}

HINSTANCE AfxGetResourceHandle() { return g_resourceModule ? g_resourceModule : ::GetModuleHandleA(nullptr); }

void AfxSetResourceHandle(HINSTANCE module) { g_resourceModule = module; }
