#include "combat/BattleLayout.h"

#include "data/Component.h"

#include <algorithm>
#include <cmath>

const StatusIcon StatusIcons[3] = {
    {200, 0, 140, 50, "Art Assets\\Textures\\hud\\statsOn.png", "Art Assets\\Textures\\hud\\statsOff.png"},
    {340, 0, 110, 50, "Art Assets\\Textures\\hud\\moveOn.png", "Art Assets\\Textures\\hud\\moveOff.png"},
    {450, 0, 150, 50, "Art Assets\\Textures\\hud\\attackOff.png", "Art Assets\\Textures\\hud\\attackOn.png"},
};

float BarScale(float cameraDistance) {
    return (75.0f - (cameraDistance - 10.0f)) / 75.0f + 0.95f;
}

BarPlacement PlaceBar(double windowX, double windowY, double windowZ, int32_t windowHeight, float scale) {
    BarPlacement bar;
    // A point behind the camera or beyond the far plane, or a garbled projection, gets no bar.
    if (!(windowZ >= 0.0 && windowZ <= 1.0) || !std::isfinite(windowX) || !std::isfinite(windowY) ||
        std::fabs(windowX) > 1e6 || std::fabs(windowY) > 1e6) {
        return bar;
    }
    bar.visible = true;
    bar.width = static_cast<int32_t>(32.0f * scale);
    bar.height = static_cast<int32_t>(7.0f * scale);
    bar.x = static_cast<int32_t>(windowX) - static_cast<int32_t>(16.0f * scale);
    bar.y = static_cast<int32_t>(windowHeight - windowY);
    return bar;
}

int32_t BarFill(float fraction, int32_t width) {
    if (!(fraction > 0.0f)) {
        return 0;
    }
    return static_cast<int32_t>(std::min(fraction, 1.0f) * static_cast<float>(width));
}

std::vector<StatLine> StatCardLines(const Unit* unit, int32_t x1, int32_t x2, bool placeholder, bool timeLeft) {
    std::vector<StatLine> lines;
    if (unit == nullptr) {
        if (placeholder) {
            lines.push_back({"No Unit Detected", x1, 515});
        }
        return lines;
    }
    auto add = [&lines](std::string text, int32_t x, int32_t y) { lines.push_back({std::move(text), x, y}); };
    add("Distance: " + std::to_string(unit->moveDist), x1, 500);
    add("Ratio: " + std::to_string(unit->moveRatio), x1, 515);
    add("HP: " + std::to_string(unit->hp) + "/" + std::to_string(unit->fullHp), x1, 530);
    add("Accuracy: " + std::to_string(unit->accuracy), x1, 545);
    add("Defense: " + std::to_string(unit->defense), x1, 560);
    if (const Component* weapon = unit->weapon) {
        add("Damage: " + std::to_string(weapon->damage), x2, 500);
        add("Max Range: " + std::to_string(weapon->maxRange), x2, 515);
        add("Min Range: " + std::to_string(weapon->minRange), x2, 530);
        add("AoE: " + std::to_string(weapon->AoE), x2, 545);
        add("Shots: " + std::to_string(weapon->shots), x2, 560);
        add("Time: " + std::to_string(weapon->timeCost), x2, 575);
    }
    if (timeLeft) {
        add("Time left: " + std::to_string(std::max(100 - unit->timeUsed, 0)), x1, 575);
    }
    return lines;
}
