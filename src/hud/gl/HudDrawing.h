#pragma once

#include "combat/CombatScreen.h"

#include <cstdint>
#include <functional>
#include <vector>

class HudLayout;
class LevelMap;
class Renderer;
struct HudButton;
struct MapTile;
struct Unit;

// Drawing and picking of the current button layout with OpenGL.

// Lets the layout make its buttons' pick silhouettes from the silhouette picture and free them again;
// call once after the GL context exists, before the first layout is loaded.
void InstallHudTextureHooks(HudLayout& layout);

// The GL texture of a slot, or 0 when the slot lies outside the table or holds nothing.
uint32_t TextureOfSlot(const Renderer& renderer, uint32_t slot);

// Draws every button in list order: its picture (the mouse-over one while the mouse is over it) and its
// label in the game font. In the pick pass each pickable button draws its silhouette instead, without
// depth test, so it covers whatever lies behind it.
void DrawHud(const HudLayout& layout, Renderer& renderer, bool pickPass);

// What a pick pass sees besides the layout. Everything may be left empty.
struct PickScene {
    // Draws the tiles and units in their pick colours (the camera is applied and lighting is flat).
    std::function<void()> drawWorld;
    // Finds tiles by pick id.
    LevelMap* map = nullptr;
    // Units found by their core's pick colour, searched in order.
    const std::vector<Unit*>* units = nullptr;
};

// What lies under a pixel.
struct PickedObject {
    PickKind kind = PickKind::Nothing;
    HudButton* button = nullptr;
    Unit* unit = nullptr;
    MapTile* tile = nullptr;
    int32_t id = 0; // the colour read back
};

// The pick colour id of the pixel (x, y) (origin top left) of the current read buffer; 0 outside the
// viewport.
int32_t ReadPickPixel(int32_t x, int32_t y);

// Draws the scene and the layout in pick colours off screen (the visible frame is left as it was when the
// GL has framebuffer objects) and returns what lies under (x, y): a button first, then a unit, then a tile.
PickedObject PickObject(Renderer& renderer, HudLayout& layout, const PickScene& scene, int32_t x, int32_t y);
