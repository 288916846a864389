// The debug bar and the level editor bar, drawn with Dear ImGui inside the frame's overlay.

#include "combat/LevelEditor.h"
#include "combat/gl/CombatState.h"
#include "core/GameContext.h"
#include "platform/Paths.h"
#include "platform/sdl/InputDevices.h"

#include <imgui.h>
#include <imgui_internal.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

const char* const LevelFolder = "XMLFiles\\Missions\\Levels";

// One camera key binding shown as the character on its key; typing a character rebinds it.
void KeyField(const char* label, int32_t& code) {
    char text[2] = {CharacterOfKeyCode(code), '\0'};
    if (ImGui::InputText(label, text, sizeof(text), ImGuiInputTextFlags_CharsUppercase)) {
        const int32_t typed = KeyCodeOfCharacter(text[0]);
        if (typed != 0) {
            code = typed;
        }
    }
}

// The map files a level designer can open, by name within the levels folder.
std::vector<std::string> LevelFiles() {
    std::vector<std::string> files;
    ListFiles(LevelFolder, files);
    const size_t prefix = std::strlen(LevelFolder) + 1;
    for (std::string& file : files) {
        file = file.size() > prefix ? file.substr(prefix) : file;
    }
    return files;
}

void DrawEditorBar(LevelEditor& editor) {
    CombatScreen& screen = editor.screen;
    LevelMap& map = screen.map;
    ImGui::SetNextWindowPos(ImVec2(535, 60), ImGuiCond_FirstUseEver);
    ImGui::SetNextWindowSize(ImVec2(260, 330), ImGuiCond_FirstUseEver);
    ImGui::PushStyleColor(ImGuiCol_WindowBg, IM_COL32(139, 137, 137, 230));
    if (ImGui::Begin("Level Editor")) {
        static char fileName[200] = {};
        static std::string shownName;
        if (shownName != map.fileName()) {
            shownName = map.fileName();
            std::snprintf(fileName, sizeof(fileName), "%s", shownName.c_str());
        }
        if (ImGui::InputText("Filename:", fileName, sizeof(fileName), ImGuiInputTextFlags_EnterReturnsTrue)) {
            editor.LoadMap(fileName);
            shownName.clear();
        }
        if (ImGui::Button("Browse")) {
            ImGui::OpenPopup("levels");
        }
        if (ImGui::BeginPopup("levels")) {
            for (const std::string& file : LevelFiles()) {
                if (ImGui::Selectable(file.c_str())) {
                    editor.LoadMap(file);
                    shownName.clear();
                }
            }
            ImGui::EndPopup();
        }
        if (ImGui::Button("Save Changes")) {
            editor.SaveMap();
        }
        if (ImGui::Button("Reload File")) {
            editor.LoadMap(std::string());
            shownName.clear();
        }
        ImGui::Separator();
        int height = editor.height();
        if (ImGui::InputInt("Height:", &height)) {
            editor.SetHeight(height);
        }
        int texture = editor.texture();
        if (ImGui::InputInt("Texture:", &texture)) {
            editor.SetTexture(std::max(0, texture));
        }
        float passCost = editor.passCost();
        if (ImGui::InputFloat("Pass Cost:", &passCost, 0.1f, 1.0f, "%.3f")) {
            editor.SetPassCost(passCost);
        }
        int rows = static_cast<int>(map.width());
        if (ImGui::InputInt("Rows:", &rows, 1, 1, ImGuiInputTextFlags_EnterReturnsTrue) && rows > 0) {
            editor.ResizeMap(static_cast<uint32_t>(rows), map.height());
        }
        int columns = static_cast<int>(map.height());
        if (ImGui::InputInt("Columns:", &columns, 1, 1, ImGuiInputTextFlags_EnterReturnsTrue) &&
            columns > 0) {
            editor.ResizeMap(map.width(), static_cast<uint32_t>(columns));
        }
        if (ImGui::Button("Toggle Paint Mode")) {
            editor.TogglePaintMode();
        }
        ImGui::BeginDisabled();
        bool paint = screen.paintMode;
        ImGui::Checkbox("Paint Mode:", &paint);
        ImGui::EndDisabled();
    }
    ImGui::End();
    ImGui::PopStyleColor();
}

} // namespace

void DrawCombatBars() {
    LevelEditor& editor = GetLevelEditor();
    ImGuiContext* context = ImGui::GetCurrentContext();
    if (context == nullptr || !context->WithinFrameScope) {
        return;
    }
    GameContext& game = GameContext::Get();
    if (!editor.debugBarShown) {
        return;
    }
    Camera& camera = game.renderer.camera;
    ImGui::SetNextWindowPos(ImVec2(10, 60), ImGuiCond_FirstUseEver);
    ImGui::SetNextWindowSize(ImVec2(250, 0), ImGuiCond_FirstUseEver);
    if (ImGui::Begin("Tweak Bar")) {
        if (ImGui::Button("Toggle Full Screen")) {
            game.window().ToggleFullScreen();
        }
        if (ImGui::Button("Edit Level")) {
            editor.ToggleEditor();
        }
        KeyField("Zoom in Key", camera.keys.codes[static_cast<int32_t>(CameraAction::ZoomIn)]);
        KeyField("Zoom out Key", camera.keys.codes[static_cast<int32_t>(CameraAction::ZoomOut)]);
        KeyField("Rotate left Key", camera.keys.codes[static_cast<int32_t>(CameraAction::RotateLeft)]);
        KeyField("Rotate right Key", camera.keys.codes[static_cast<int32_t>(CameraAction::RotateRight)]);
        KeyField("Pitch up Key", camera.keys.codes[static_cast<int32_t>(CameraAction::PitchUp)]);
        KeyField("Pitch down Key", camera.keys.codes[static_cast<int32_t>(CameraAction::PitchDown)]);
        ImGui::Checkbox("Render picking colors", &editor.screen.renderPickingColours);
    }
    ImGui::End();
    if (editor.screen.editMode) {
        DrawEditorBar(editor);
    }
}
