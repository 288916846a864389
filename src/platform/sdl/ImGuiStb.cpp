// Debian's Dear ImGui library leaves its font rasteriser and rectangle packer to the stb library and
// names it only in its pkg-config file. Until the build links libstb, the two are compiled here from the
// same stb headers the library was built against.
#define STB_RECT_PACK_IMPLEMENTATION
#include <stb/stb_rect_pack.h>
#define STB_TRUETYPE_IMPLEMENTATION
#include <stb/stb_truetype.h>

// Called by the window so that the linker keeps this file with the library that needs it.
void LinkImGuiFontRasteriser() {}
