#pragma once

#include "combat/CombatScreen.h"

#include <cstdint>
#include <string>

// The level editor and debug bar state of the battle screen: which tile is selected, the brush painted in
// paint mode, and the map operations of the editor bar. The bars themselves are drawn by the window layer.
class LevelEditor {
public:
    explicit LevelEditor(CombatScreen& screen);
    ~LevelEditor();
    LevelEditor(const LevelEditor&) = delete;
    LevelEditor& operator=(const LevelEditor&) = delete;

    // Shows or removes the debug bar (and so enables or disables it for the battles to come); removing it
    // also closes the editor.
    void ToggleDebugBar();
    // A battle's set-up: the debug bar is shown again when it is enabled; the editor starts closed.
    void BattleSetUp();
    // Opens (only while the battle runs) or closes the editor: opening sets edit mode, clears every marker
    // and the selection; closing leaves edit mode.
    void ToggleEditor();
    // Closes the editor and the debug bar (leaving the battle); the debug bar stays enabled.
    void CloseAll();
    // Makes tile (x, y) the selected tile: the fields edit it, the camera turns to it, it alone is marked.
    void SelectTile(int32_t x, int32_t y);
    // Inverts paint mode, copies the selected values into the brush and points the fields at the brush.
    void TogglePaintMode();
    // Gives the tile the brush's height, pass cost and texture.
    void Paint(MapTile& tile) const;
    // Loads the named map (empty: reloads the current file). The selection is cleared: outside paint mode the
    // fields then show nothing (not a brush value left from an earlier paint); in paint mode they show the
    // brush.
    bool LoadMap(const std::string& fileName);
    // Saves the map under its file name.
    bool SaveMap();
    // Resizes the map (0 keeps a side); the selection is cleared as by LoadMap.
    void ResizeMap(uint32_t width, uint32_t height);

    // The values the fields show: the selected ones, 0 when nothing is selected.
    int32_t height() const { return selectedHeight != nullptr ? *selectedHeight : 0; }
    int32_t texture() const { return selectedTexture != nullptr ? *selectedTexture : 0; }
    float passCost() const { return selectedPassCost != nullptr ? *selectedPassCost : 0.0f; }
    // Writes a field's value where it points, if anywhere.
    void SetHeight(int32_t value);
    void SetTexture(int32_t value);
    void SetPassCost(float value);

    CombatScreen& screen;
    bool debugBarShown = false;
    bool debugBarEnabled = false; // the debug bar is wanted in every battle
    int32_t* selectedHeight = nullptr;
    int32_t* selectedTexture = nullptr;
    float* selectedPassCost = nullptr;
    int32_t paintHeight = 1;
    float paintPassCost = 1.0f;
    int32_t paintTexture = 0;

private:
    void forgetGrid();
};
