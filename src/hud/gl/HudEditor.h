#pragma once

#include <cstdint>
#include <string>

class HudLayout;

// The HUD editor window (Dear ImGui): file commands and the fields of the selected button of the current
// layout. Tab opens and closes it (HudLayout::ToggleEditor); while it is open a click on a button selects it.

// The editor's file and button commands.
enum class HudEditorCommand : int32_t { LoadFile, Save, SaveAs, Reload, AddButton, DeleteButton };

// Runs one command on the layout; LoadFile loads fileName and SaveAs writes the layout under it (the others
// ignore it). False when a load or save
// failed (the box has been shown and the layout and file are as they were).
bool RunHudEditorCommand(HudLayout& layout, HudEditorCommand command, const std::string& fileName = {});

// Draws the editor window while the layout's editor is open. Call once a frame between the window's
// BeginOverlayFrame and DrawOverlay; does nothing without an ImGui frame.
void DrawHudEditor(HudLayout& layout);
