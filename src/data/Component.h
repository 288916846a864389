#pragma once

#include "render/Maths.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A module of a mech (core, head, tail or weapon) as read from its component file, and the part table
// that ties part numbers to display names and files.

struct ModelNode; // a drawable model tree, owned by the renderer's model table

// The kind of a module; 0 when the file's type text is none of these.
enum ComponentType : int32_t { CORE = 1, HEAD = 2, TAIL = 3, WEAPON = 4 };

// One module. Loading fills the stats; the drawing fields are filled by the renderer for a mech's core.
// The module owns its display list and pick colour: destroying it deletes the one and hands the other back.
struct Component {
    Component() = default;
    ~Component();
    Component(const Component&) = delete;
    Component& operator=(const Component&) = delete;

    ModelNode* model = nullptr; // the model this node draws; set for a mech's core only
    int32_t modelSlot = 0;      // the root's `model` attribute; below 1 the node is not drawn
    uint32_t displayList = 0;   // textured display list of the core
    Transform transform;        // placement of the node
    uint32_t pickColour = 0;    // pick colour id; the core's is the unit's
    int32_t animationFrame = 0; // frame counter of the model's animation
    int32_t animationKey = 0;   // key index of the model's animation
    bool isWeapon = false;      // the points give exactly one weapon point and no head or tail point
    int32_t body = 0;
    int32_t hp = 0; // equal to body whenever stats are read
    int32_t moveDist = 0;
    int32_t moveRatio = 0;
    int32_t defense = 0;
    int32_t accuracy = 0;
    int16_t headPoints = 0;
    int16_t tailPoints = 0;
    int16_t weaponPoints = 0;
    int16_t mobility = 0;
    int32_t damage = 0;
    int32_t maxRange = 0;
    int32_t minRange = 0;
    int32_t AoE = 0;
    int32_t timeCost = 0;
    int32_t reload = 0;
    int32_t shots = 0;
    int32_t type = 0; // a ComponentType value or 0
    std::string name;
    int32_t weightClass = 0;
    std::vector<std::unique_ptr<Component>> children; // attached modules, owned
    std::optional<int32_t> modelIndex;                // the `model` element's `index`, when present
    std::string fileName;                             // path last loaded from, in the game's spelling
};

// Reads a component file into the component; without a path the stored file name is read again.
// Returns true when the whole file was read; on failure a box is shown and the rest is left as it was.
bool LoadComponent(std::optional<std::string_view> path, Component& component);

// Gives a newly made deep copy of the component and its children. The copy shares the model and its place
// but has no display list and no pick colour of its own yet: the original keeps those.
std::unique_ptr<Component> CloneComponent(const Component& component);

// Hands a pick colour back to whoever gave it out; installed by the game (without one nothing happens).
using PickColourReleaser = std::function<void(uint32_t colour)>;
// Installs the releaser modules use when they are destroyed or get a new colour; returns the previous one.
PickColourReleaser SetPickColourReleaser(PickColourReleaser releaser);
// Hands the colour back through the installed releaser; 0 is no colour and is ignored.
void ReleasePickColourOf(uint32_t colour);

// [SECTION] Part table

// Number of part kinds: 6 cores, 8 heads, 4 tails and 9 weapons.
constexpr int kPartCount = 27;

// A part kind: category (ComponentType 1 to 4) and index within the category.
struct PartKind {
    int32_t category = -1;
    int32_t index = -1;
};

// Number of part kinds in a category; 0 for an unknown category.
int PartCountOf(int category);

// Part number of the first part kind of a category (0, 6, 14, 18); -1 for an unknown category.
int PartOffsetOf(int category);

// Part number of (category, index); -1 when there is no such part kind.
int PartNumber(int category, int index);

// (category, index) of a part number; (-1, -1) outside 0 to 26.
PartKind PartKindOf(int partNumber);

// Display name of a part number ("Ant Core", ..., "Tri Laser Red"); empty outside 0 to 26.
std::string_view PartDisplayName(int partNumber);

// Appends every component file of the four module folders, sorted byte-wise by full path, so entry n
// is the file of part number n. Only ".xml" files count; sub-folders and other files are skipped.
void ListModuleFiles(std::vector<std::string>& files);

// Entry n of a module file list; empty when the list has no such entry.
std::string PartFile(const std::vector<std::string>& moduleFiles, int partNumber);

// [SECTION] Naming rules of module names

// The text of a module name before its first "_" (the whole name when it has none).
std::string_view NamePrefix(std::string_view name);

// The part index a module name maps back to when it is taken off a mech (cores by their animal); -1 for
// category 0.
int PartIndexFromName(int category, std::string_view name);

// The word a mech's modules are recognised by on the build screen: "Head", "Tail" or "Weapon"; empty
// otherwise.
std::string_view CategoryWord(int category);
