#include "combat/LevelEditor.h"

#include "combat/UnitMovement.h"

LevelEditor::LevelEditor(CombatScreen& battle) : screen(battle) {
    screen.brushHeight = &paintHeight;
}

LevelEditor::~LevelEditor() {
    if (screen.brushHeight == &paintHeight) {
        screen.brushHeight = nullptr;
    }
}

void LevelEditor::ToggleDebugBar() {
    if (debugBarShown && screen.editMode) {
        ToggleEditor();
    }
    debugBarShown = !debugBarShown;
    debugBarEnabled = debugBarShown;
}

void LevelEditor::BattleSetUp() {
    if (screen.editMode) {
        ToggleEditor();
    }
    debugBarShown = debugBarEnabled;
}

void LevelEditor::ToggleEditor() {
    if (screen.editMode) {
        screen.editMode = false;
        screen.markersDirty = true;
        return;
    }
    if (!screen.active) {
        return;
    }
    screen.editMode = true;
    screen.map.ClearMarkers();
    screen.selectedTile = nullptr;
    selectedHeight = nullptr;
    selectedTexture = nullptr;
    selectedPassCost = nullptr;
}

void LevelEditor::CloseAll() {
    if (screen.editMode) {
        ToggleEditor();
    }
    debugBarShown = false;
}

void LevelEditor::SelectTile(int32_t x, int32_t y) {
    MapTile* tile = screen.map.TileAt(x, y);
    if (tile == nullptr) {
        return;
    }
    screen.selectedTile = tile;
    if (!screen.paintMode) {
        selectedHeight = &tile->elevation;
        selectedTexture = &tile->texture;
        selectedPassCost = &tile->passable;
    }
    if (!screen.camera.busy()) {
        screen.camera.MoveCameraTo(TileCentre(screen.map, x, y), false);
    }
    screen.map.ClearMarkers();
    tile->marker = TileMarker::Target;
}

void LevelEditor::TogglePaintMode() {
    screen.paintMode = !screen.paintMode;
    if (selectedHeight != nullptr) {
        paintHeight = *selectedHeight;
    }
    if (selectedTexture != nullptr) {
        paintTexture = *selectedTexture;
    }
    if (selectedPassCost != nullptr) {
        paintPassCost = *selectedPassCost;
    }
    selectedHeight = &paintHeight;
    selectedTexture = &paintTexture;
    selectedPassCost = &paintPassCost;
}

void LevelEditor::Paint(MapTile& tile) const {
    tile.elevation = paintHeight;
    tile.passable = paintPassCost;
    tile.texture = paintTexture;
}

void LevelEditor::SetHeight(int32_t value) {
    if (selectedHeight != nullptr) {
        *selectedHeight = value;
    }
}

void LevelEditor::SetTexture(int32_t value) {
    if (selectedTexture != nullptr) {
        *selectedTexture = value;
    }
}

void LevelEditor::SetPassCost(float value) {
    if (selectedPassCost != nullptr) {
        *selectedPassCost = SanePassCost(value);
    }
}

void LevelEditor::forgetGrid() {
    screen.selectedTile = nullptr;
    // In paint mode the fields edit the brush, which outlives the grid. Outside it they belonged to the
    // selection (a tile, or the brush only since the last toggle); with no tile selected they show nothing.
    if (!screen.paintMode) {
        selectedHeight = nullptr;
        selectedTexture = nullptr;
        selectedPassCost = nullptr;
    }
    screen.markersDirty = true;
}

bool LevelEditor::LoadMap(const std::string& fileName) {
    const bool loaded = screen.map.Load(fileName);
    if (loaded) {
        forgetGrid();
        // Units keep their tiles; they stand at the new heights.
        for (Unit* unit : screen.turnQueue) {
            if (!IsWalking(*unit)) {
                PlaceUnit(*unit, screen.map, unit->tileX, unit->tileY);
            }
        }
    }
    return loaded;
}

bool LevelEditor::SaveMap() {
    return screen.map.Save();
}

void LevelEditor::ResizeMap(uint32_t width, uint32_t height) {
    if (width == screen.map.width() && height == screen.map.height()) {
        return;
    }
    screen.map.Resize(width, height);
    forgetGrid();
}
