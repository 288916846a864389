#include "hud/gl/HudEditor.h"

#include "hud/HudLayout.h"
#include "platform/Paths.h"

#include <imgui.h>
#include <imgui_internal.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

// The folder "Browse" lists.
const char* const LayoutFolder = "XMLFiles\\GUI";

// Copies the text into a fixed buffer for an ImGui text field, cutting what does not fit.
template <size_t N> void CopyToBuffer(char (&buffer)[N], const std::string& text) {
    const size_t length = std::min(text.size(), N - 1);
    std::memcpy(buffer, text.data(), length);
    buffer[length] = '\0';
}

bool EditUnsigned(const char* label, uint32_t& value) {
    return ImGui::InputScalar(label, ImGuiDataType_U32, &value);
}

// The entries of the selected button, bound to its fields.
void ButtonEntries(HudButton& button) {
    EditUnsigned("X:", button.xPos);
    EditUnsigned("Y:", button.yPos);
    EditUnsigned("Width:", button.xSize);
    EditUnsigned("Height:", button.ySize);
    const char* names[ButtonFunctionCount];
    for (int32_t i = 0; i < ButtonFunctionCount; ++i) {
        names[i] = ButtonFunctionName(i);
    }
    int function = button.function;
    if (function >= 0 && function < ButtonFunctionCount) {
        if (ImGui::Combo("Function:", &function, names, ButtonFunctionCount)) {
            button.function = function;
        }
    } else {
        ImGui::InputScalar("Function:", ImGuiDataType_S32, &button.function);
    }
    ImGui::InputScalar("Data:", ImGuiDataType_S32, &button.data);
    EditUnsigned("Texture:", button.tex);
    EditUnsigned("Mouseover Texture:", button.MOtex);
    // Shown but not editable: the layout frees this texture when the button goes, so it must stay its own.
    ImGui::InputScalar("Pick Texture:", ImGuiDataType_S32, &button.pickTexture, nullptr, nullptr, nullptr,
                       ImGuiInputTextFlags_ReadOnly);
    char text[256];
    CopyToBuffer(text, button.text);
    if (ImGui::InputText("Text:", text, sizeof(text))) {
        button.text = text;
    }
    EditUnsigned("X offset:", button.textX);
    EditUnsigned("Y offset:", button.textY);
    EditUnsigned("R:", button.r);
    EditUnsigned("G:", button.g);
    EditUnsigned("B:", button.b);
}

} // namespace

bool RunHudEditorCommand(HudLayout& layout, HudEditorCommand command, const std::string& fileName) {
    switch (command) {
    case HudEditorCommand::LoadFile:
        return layout.LoadHud(fileName);
    case HudEditorCommand::Save:
        return layout.SaveHud();
    case HudEditorCommand::SaveAs:
        return layout.SaveHudAs(fileName);
    case HudEditorCommand::Reload:
        return layout.LoadHud();
    case HudEditorCommand::AddButton:
        layout.AddEditorButton();
        return true;
    case HudEditorCommand::DeleteButton:
        layout.DeleteSelected();
        return true;
    }
    return true;
}

void DrawHudEditor(HudLayout& layout) {
    if (!layout.editorOpen() || ImGui::GetCurrentContext() == nullptr ||
        !ImGui::GetCurrentContext()->WithinFrameScope) {
        return;
    }
    static char fileName[200] = {};
    static std::string shownName;
    // The field follows the layout's file unless the user is typing into it.
    if (shownName != layout.fileName() && !ImGui::IsPopupOpen("Browse")) {
        shownName = layout.fileName();
        CopyToBuffer(fileName, shownName);
    }

    ImGui::SetNextWindowPos(ImVec2(100, 20), ImGuiCond_FirstUseEver);
    ImGui::SetNextWindowBgAlpha(0.9f);
    ImGui::PushStyleColor(ImGuiCol_TitleBgActive, ImVec4(137 / 255.0f, 139 / 255.0f, 137 / 255.0f, 1.0f));
    ImGui::PushStyleColor(ImGuiCol_TitleBg, ImVec4(137 / 255.0f, 139 / 255.0f, 137 / 255.0f, 1.0f));
    if (ImGui::Begin("HUD Editor", nullptr, ImGuiWindowFlags_AlwaysAutoResize)) {
        ImGui::PushItemWidth(150);
        if (ImGui::InputText("Filename:", fileName, sizeof(fileName), ImGuiInputTextFlags_EnterReturnsTrue)) {
            RunHudEditorCommand(layout, HudEditorCommand::LoadFile, fileName);
            shownName.clear();
        }
        if (ImGui::Button("Browse")) {
            ImGui::OpenPopup("Browse");
        }
        if (ImGui::BeginPopup("Browse")) {
            std::vector<std::string> files;
            ListFiles(LayoutFolder, files);
            for (const std::string& file : files) {
                if (file.size() > 4 && file.compare(file.size() - 4, 4, ".xml") == 0 &&
                    ImGui::Selectable(file.c_str())) {
                    RunHudEditorCommand(layout, HudEditorCommand::LoadFile, file);
                    shownName.clear();
                }
            }
            if (files.empty()) {
                ImGui::TextUnformatted("No layouts found");
            }
            ImGui::EndPopup();
        }
        if (ImGui::Button("Save Changes")) {
            RunHudEditorCommand(layout, HudEditorCommand::Save);
        }
        // A copy of the layout under a new name: the editor then works on the new file.
        static char saveAsName[200] = {};
        bool saveAs = ImGui::InputText("Save as:", saveAsName, sizeof(saveAsName),
                                       ImGuiInputTextFlags_EnterReturnsTrue);
        ImGui::SameLine();
        saveAs = ImGui::Button("Save As") || saveAs;
        if (saveAs && RunHudEditorCommand(layout, HudEditorCommand::SaveAs, saveAsName)) {
            saveAsName[0] = '\0';
            shownName.clear();
        }
        if (ImGui::Button("Reload File")) {
            RunHudEditorCommand(layout, HudEditorCommand::Reload);
        }
        if (ImGui::Button("Add Button")) {
            RunHudEditorCommand(layout, HudEditorCommand::AddButton);
        }
        if (ImGui::Button("Delete Button")) {
            RunHudEditorCommand(layout, HudEditorCommand::DeleteButton);
        }
        ImGui::Separator();
        if (HudButton* button = layout.Selected()) {
            ButtonEntries(*button);
        } else {
            ImGui::TextUnformatted("Select a HUD element");
        }
        ImGui::PopItemWidth();
    }
    ImGui::End();
    ImGui::PopStyleColor(2);
}
