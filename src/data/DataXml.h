#pragma once

#include <cstdint>
#include <string_view>

namespace tinyxml2 {
class XMLElement;
}

// Reading numbers of the game's data files: C atoi rules (leading blanks, optional sign, digits up to the
// first other character; nothing readable is 0), but a value never overflows.

// Largest magnitude a number of a module or unit file keeps; larger values are cut to it.
constexpr int32_t kDataValueLimit = 1000000;

// The atoi value of the text, limited to plus or minus kDataValueLimit.
int32_t ParseDataInt(std::string_view text);

// The named attribute read as above; an absent attribute (or element) reads as 0.
int32_t AttributeInt(const tinyxml2::XMLElement* element, const char* name);

// The element's text, empty when it has none.
std::string_view ElementText(const tinyxml2::XMLElement* element);

// a + b without overflow: the result is held inside the int32 range.
int32_t SaturatingAdd(int32_t a, int32_t b);
