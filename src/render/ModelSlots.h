#pragma once

#include <array>
#include <string_view>

// The model table: one root model per slot. Slots 0 to 46 are named by the elements of
// "XMLFiles\Models.xml"; the last slot holds the built-in active-unit marker.

// Number of slots in the model table.
constexpr int modelSlotCount = 48;
// Slot of the built-in active-unit marker, which the catalogue does not name.
constexpr int activeMarkerSlot = 47;

// Element names of the model catalogue in slot order (the spellings are part of the file format).
constexpr std::array<std::string_view, 47> modelSlotNames = {
    "TEST_MODEL",
    "WOLF_COMPILED",
    "RAT_COMPILED",
    "SPIDER_COMPILED",
    "ANT_COMPILED",
    "TURTLE_COMPILED",
    "FROG_COMPILED",
    "WOLF_CORE",
    "RAT_CORE",
    "SPIDER_CORE",
    "ANT_CORE",
    "TURTLE_CORE",
    "FROG_CORE",
    "W_DOUBLECANNON",
    "W_MISSILELAUNCHER",
    "W_WEBCANNON",
    "W_STINGERSALVO",
    "W_AIRBURST",
    "W_SHELLLASERS",
    "W_REFLEXCANNON",
    "W_PLASMACANNON",
    "W_ASSUALTCANNON",
    "W_DEATHBLOSSOM",
    "W_ESPIONAGEKIT",
    "W_ANTIARMORMISSILES",
    "H_CLOSECOMBAT",
    "H_SENSOR",
    "H_MANDIBLE",
    "H_TACTICAL",
    "H_ASSUALT",
    "H_FIREPINCER",
    "T_SENSOR",
    "T_ENGINEOPTIMIZER",
    "T_UNDERCARRIAGEARMOR",
    "T_FUELSYSTEM",
    "T_ADDITIONALARMOR",
    "T_AUXENGINE",
    "T_BLASTER",
    "T_SAW",
    "T_SNIPERLANCE",
    "T_JUMPJETS",
    "T_GUARD",
    "T_FFGENERATOR",
    "T_RARAR",
    "BUILDING01",
    "BUILDING02",
    "BUILDING03",
};

// After loading the slot with this index the loading bar advances; the fractions go with them.
constexpr std::array<int, 6> loadingStepSlots = {6, 12, 24, 30, 43, 46};
constexpr std::array<float, 6> loadingStepFractions = {0.1f, 0.2f, 0.3f, 0.4f, 0.5f, 0.6f};
