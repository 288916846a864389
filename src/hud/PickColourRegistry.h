#pragma once

#include <cstddef>
#include <cstdint>
#include <unordered_set>
#include <vector>

// Colour picking ids. A pick colour (r, g, b) is kept as the id r * 1000000 + g * 1000 + b (decimal digit
// groups, at most 255255255). The id 0 (black) is never handed out and means nothing is there. The kinds of
// things a pick finds (PickKind, PickResult) are declared with the battle in combat/CombatScreen.h.

// The three bytes of a pick colour.
struct PickRgb {
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;
};

// The id of a colour.
int32_t EncodePickColour(uint8_t r, uint8_t g, uint8_t b);
// The colour of an id; components above 255 (ids that no registry hands out) keep their low 8 bits.
PickRgb DecodePickColour(int32_t id);

// The ids handed out and not yet released, in the order they were handed out.
class PickColourRegistry {
public:
    // Draws a value 0 to at least 32767, like std::rand.
    using RandomFunction = int (*)();

    // A registry drawing from the C library generator.
    PickColourRegistry();
    // A registry drawing from the given generator (tests).
    explicit PickColourRegistry(RandomFunction random);
    PickColourRegistry(const PickColourRegistry&) = delete;
    PickColourRegistry& operator=(const PickColourRegistry&) = delete;

    // A fresh non-zero id no live object holds: r, g, b drawn in that order (mod 256), redrawn while all
    // are 0 or while the id is taken. Returns 0 only when every colour is taken.
    int32_t NewPickColour();
    // Removes the id from the list, keeping the order of the others; unknown ids are ignored.
    void ReleasePickColour(int32_t id);
    // True when the id is handed out and not released.
    bool Contains(int32_t id) const { return taken_.count(id) != 0; }
    // Number of ids in use.
    size_t size() const { return ids_.size(); }
    // The ids in use, oldest first.
    const std::vector<int32_t>& ids() const { return ids_; }

private:
    RandomFunction random_;
    std::vector<int32_t> ids_;
    std::unordered_set<int32_t> taken_;
};
