#include "commandbars/TkResourceHandles.h"

namespace {
HINSTANCE g_toolkitInstance = nullptr;
HINSTANCE g_toolkitResource = nullptr;
}  // namespace

void SetToolkitResourceHandles(HINSTANCE instance, HINSTANCE resource) {
    g_toolkitInstance = instance;
    g_toolkitResource = resource;
}

HINSTANCE GetToolkitResourceHandle() {
    return g_toolkitResource;
}

HINSTANCE GetToolkitInstanceHandle() {
    return g_toolkitInstance;
}
