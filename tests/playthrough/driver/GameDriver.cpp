#include "driver/GameDriver.h"

#include "core/GameContext.h"
#include "core/GameState.h"
#include "core/MainLoop.h"
#include "hud/HudLayout.h"
#include "platform/HighResTimer.h"
#include "platform/sdl/SdlPlatform.h"
#include "screens/BuildScreen.h"

#include <imgui.h>
#include <imgui_internal.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string_view>

void RecordingWindow::Swap() {
    if (IsOpen()) {
        frame_ = ReadFrameBuffer(kFrameWidth, kFrameHeight);
    }
    GLWindow::Swap();
}

namespace {

bool played = false;

} // namespace

bool GameDriver::FirstInProcess() {
    return !played;
}

GameDriver::GameDriver(const std::string& pictureSet, unsigned seed)
    : folder_(std::string(VANTOR_PICTURE_DIR) + "/" + pictureSet) {
    played = true;
    std::error_code error;
    std::filesystem::remove_all(folder_, error);
    std::filesystem::create_directories(folder_, error);
    // As the game's entry point does, with a fixed seed instead of the clock.
    UseSdlTimeSource();
    std::srand(seed);
    InstallGameInput();
    auto window = std::make_unique<RecordingWindow>();
    window_ = window.get();
    GameContext::Get().UseWindow(std::move(window));
}

GameDriver::~GameDriver() {
    SetInputHooks(nullptr, nullptr);
}

GameContext& GameDriver::game() {
    return GameContext::Get();
}

// [SECTION] Frames

bool GameDriver::Frame() {
    ++frames_;
    return RunFrame();
}

bool GameDriver::Frames(int count) {
    for (int i = 0; i < count; ++i) {
        if (!Frame()) {
            return false;
        }
    }
    return true;
}

bool GameDriver::RunUntil(const std::function<bool()>& done, int maxFrames) {
    for (int i = 0; i < maxFrames; ++i) {
        if (done()) {
            return true;
        }
        if (!Frame()) {
            return done();
        }
    }
    return done();
}

bool GameDriver::ToMainMenu() {
    if (!Frame()) {
        return false;
    }
    for (int press = 0; press < 4 && game().currentState() != kMainMenuState; ++press) {
        PressKey(SDL_SCANCODE_SPACE);
    }
    return game().currentState() == kMainMenuState;
}

// [SECTION] Keyboard and mouse

uint32_t GameDriver::windowId() const {
    SDL_Window* window = SDL_GL_GetCurrentWindow();
    return window != nullptr ? SDL_GetWindowID(window) : 0;
}

void GameDriver::Push(SDL_Event& event) {
    event.common.timestamp = SDL_GetTicks();
    SDL_PushEvent(&event);
}

void GameDriver::KeyEvent(SDL_Scancode key, bool down) {
    SDL_Event event{};
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.windowID = windowId();
    event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.scancode = key;
    event.key.keysym.sym = SDL_GetKeyFromScancode(key);
    Push(event);
}

void GameDriver::ButtonEvent(int sdlButton, bool down) {
    SDL_Event event{};
    event.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    event.button.windowID = windowId();
    event.button.button = uint8_t(sdlButton);
    event.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.button.clicks = 1;
    event.button.x = pointer_.x;
    event.button.y = pointer_.y;
    heldButtons_ = down ? heldButtons_ | SDL_BUTTON(sdlButton) : heldButtons_ & ~SDL_BUTTON(sdlButton);
    Push(event);
}

void GameDriver::Wheel(int notches) {
    SDL_Event event{};
    event.type = SDL_MOUSEWHEEL;
    event.wheel.windowID = windowId();
    event.wheel.y = notches;
    event.wheel.direction = SDL_MOUSEWHEEL_NORMAL;
    Push(event);
}

void GameDriver::PressKey(SDL_Scancode key) {
    KeyDown(key);
    Frame();
    KeyUp(key);
    Frame();
}

void GameDriver::MoveMouse(int x, int y) {
    SDL_Event event{};
    event.type = SDL_MOUSEMOTION;
    event.motion.windowID = windowId();
    event.motion.state = heldButtons_;
    event.motion.x = x;
    event.motion.y = y;
    event.motion.xrel = x - pointer_.x;
    event.motion.yrel = y - pointer_.y;
    pointer_ = {x, y};
    Push(event);
    Frame();
}

void GameDriver::Click(int x, int y, int sdlButton) {
    MoveMouse(x, y);
    // A quick click: both events reach the same frame, which sees the press.
    ButtonDown(sdlButton);
    ButtonUp(sdlButton);
    Frame();
}

// [SECTION] Finding what to click

PixelPoint GameDriver::Middle(const HudButton& button) {
    return {int(button.xPos + button.xSize / 2), int(button.yPos + button.ySize / 2)};
}

const HudButton* GameDriver::FindButton(int32_t function, int32_t data) const {
    for (const HudButton& button : GameContext::Get().hud.buttons()) {
        if (button.function == function && button.data == data) {
            return &button;
        }
    }
    return nullptr;
}

bool GameDriver::ClickButton(int32_t function, int32_t data) {
    const HudButton* button = FindButton(function, data);
    if (button == nullptr) {
        return false;
    }
    const PixelPoint middle = Middle(*button);
    Click(middle.x, middle.y);
    return true;
}

int32_t GameDriver::MissionIndex(const std::string& fileName) const {
    const std::vector<std::string>& missions = GameContext::Get().missionFiles;
    for (size_t i = 0; i < missions.size(); ++i) {
        if (missions[i].ends_with("\\" + fileName)) {
            return int32_t(i);
        }
    }
    return -1;
}

namespace {

ImGuiWindow* ShownBar(const std::string& window) {
    if (ImGui::GetCurrentContext() == nullptr) {
        return nullptr;
    }
    ImGuiWindow* found = ImGui::FindWindowByName(window.c_str());
    return found != nullptr && found->WasActive && !found->Collapsed ? found : nullptr;
}

} // namespace

bool GameDriver::BarShown(const std::string& window) {
    return ShownBar(window) != nullptr;
}

bool GameDriver::BarAt(int x, int y) {
    ImGuiContext* context = ImGui::GetCurrentContext();
    if (context == nullptr) {
        return false;
    }
    for (ImGuiWindow* window : context->Windows) {
        // The library's own fallback window is never drawn.
        const bool fallback = std::string_view(window->Name).starts_with("Debug##");
        if (!window->WasActive || fallback) {
            continue;
        }
        if (x >= window->Pos.x && y >= window->Pos.y && x < window->Pos.x + window->Size.x &&
            y < window->Pos.y + window->Size.y) {
            return true;
        }
    }
    return false;
}

bool GameDriver::ClickBarButton(const std::string& window, const std::string& label) {
    ImGuiWindow* bar = ShownBar(window);
    if (bar == nullptr) {
        return false;
    }
    const ImGuiID id = ImHashStr(label.c_str(), 0, bar->ID);
    const ImGuiStyle& style = ImGui::GetStyle();
    const float row = ImGui::GetCurrentContext()->FontSize + style.FramePadding.y * 2 + style.ItemSpacing.y;
    const int x = int(bar->DC.CursorStartPos.x + style.FramePadding.x);
    for (float y = bar->DC.CursorStartPos.y + 2; y < bar->Pos.y + bar->Size.y; y += row / 2) {
        MoveMouse(x, int(y));
        if (ImGui::GetCurrentContext()->HoveredId == id) {
            // The bar takes a click as a press in one frame and a release in a later one.
            ButtonDown();
            ButtonUp();
            Frames(2);
            return true;
        }
        if (ShownBar(window) != bar) {
            return false;
        }
    }
    return false;
}

// [SECTION] Pictures

Picture GameDriver::Shot(const std::string& name) {
    Picture picture = Screen();
    char number[16];
    std::snprintf(number, sizeof(number), "%02d_", ++shots_);
    SavePng(picture, folder_ + "/" + number + name + ".png");
    return picture;
}

bool EquipPart(GameDriver& driver, const std::string& part) {
    SquadBuilder& builder = SquadBuildMessage::Get().builder;
    const Inventory& inventory = driver.game().campaign->army().inventory;
    for (int turn = 0; turn < 2 * kInventoryPages; ++turn) {
        const std::vector<InventoryRow> rows = builder.Rows(inventory);
        for (size_t row = 0; row < rows.size(); ++row) {
            if (rows[row].name == part && rows[row].count > 0) {
                return driver.ClickButton(int32_t(ButtonFunction::Message),
                                          BuildValue::FirstRow + int32_t(row));
            }
        }
        // Forward to the last page, then back from there.
        const bool forward = turn < kInventoryPages - 1;
        driver.ClickButton(int32_t(ButtonFunction::Message),
                           forward ? BuildValue::NextPage : BuildValue::PreviousPage);
    }
    return false;
}
