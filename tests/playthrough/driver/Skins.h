#pragma once

#include "data/Unit.h"
#include "driver/Picture.h"

#include <cstdint>
#include <string>
#include <vector>

// Whether the pixels of a mech wear its skin: the skin table of unit files (tex 0 to kSkinCount - 1 and their
// pictures), and a verdict that compares the pixels with the skin picture and with every other picture a
// model could be given by mistake (the other skins and the first screen pictures).

// The picture of skin tex (0 to 11); the player's army picture for other values.
const char* SkinPicture(int32_t tex);
// The skin a unit should wear: the tex of its unit file, 0 (the player's) for a mech built on the build
// screen.
int32_t ExpectedSkin(const Unit& unit);

struct SkinVerdict {
    std::string expected;
    ColourMatch match;
    std::string closestOther;
    double closestOtherLikeness = 0.0;

    // The pixels look like the expected picture, and clearly more than like any other.
    bool Wears() const;
    // What was compared and found, for a failure message.
    std::string Describe() const;
};

SkinVerdict JudgeSkin(const Picture& shown, const std::vector<PixelPoint>& pixels, int32_t skin);
