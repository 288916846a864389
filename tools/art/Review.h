#pragma once

#include "Studio.h"

#include <string>

// Writes one PNG with every picture labelled, a ground sample laid out from the tile textures and each
// screen composed from its picture and its layout as the game draws it; false when it cannot be written.
bool WriteContactSheet(Studio& studio, const std::string& path);
