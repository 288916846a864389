#include "combat/gl/BattleReadouts.h"

#include "combat/CombatScreen.h"
#include "platform/sdl/Texture.h"
#include "render/gl/Renderer.h"

#include <GL/glew.h>
#include <GL/glu.h>

#include <algorithm>
#include <cmath>

namespace {

struct Colour {
    float r, g, b;
};

constexpr Colour White{1.0f, 1.0f, 1.0f};
constexpr Colour Amber{1.0f, 0.8f, 0.25f};
constexpr Colour Alarm{1.0f, 0.35f, 0.3f};
constexpr Colour Shadow{0.0f, 0.0f, 0.0f};
constexpr int32_t kPadding = 5;

// Text and plain quads are drawn in their own colours: without the lighting program and without the fixed
// lights (which would light the raster colour too). The state before is restored afterwards.
class NoProgram {
public:
    NoProgram() {
        glGetIntegerv(GL_CURRENT_PROGRAM, &program_);
        glUseProgram(0);
        glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT);
        glDisable(GL_LIGHTING);
        glDisable(GL_TEXTURE_2D);
        glDisable(GL_FOG);
    }
    ~NoProgram() {
        glPopAttrib();
        glUseProgram(static_cast<GLuint>(program_));
    }
    NoProgram(const NoProgram&) = delete;
    NoProgram& operator=(const NoProgram&) = delete;

private:
    GLint program_ = 0;
};

// A translucent dark plate; inside Begin2D.
void Plate(const ReadoutBox& box, float alpha) {
    UnbindTexture();
    glDisable(GL_CULL_FACE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(0.04f, 0.05f, 0.08f, alpha);
    glBegin(GL_QUADS);
    glVertex2i(box.x, box.y);
    glVertex2i(box.x, box.y + box.height);
    glVertex2i(box.x + box.width, box.y + box.height);
    glVertex2i(box.x + box.width, box.y);
    glEnd();
    glDisable(GL_BLEND);
    glEnable(GL_CULL_FACE);
}

// One text with its baseline at (x, y); inside Begin2D.
void Text(const Renderer& renderer, int32_t x, int32_t y, const std::string& text, Colour colour) {
    glColor3f(colour.r, colour.g, colour.b);
    glRasterPos2i(x, y);
    renderer.font.Print("%s", text.c_str());
}

// Text with a dark edge, readable over any ground.
void ShadowedText(const Renderer& renderer, int32_t x, int32_t y, const std::string& text, Colour colour) {
    Text(renderer, x + 1, y + 1, text, Shadow);
    Text(renderer, x, y, text, colour);
}

int32_t TextWidth(const std::string& text) {
    return static_cast<int32_t>(text.size()) * kGlyphWidth;
}

// A plate with lines of text in it, the first in the first colour and the rest in the other.
void Readout(const Renderer& renderer, const ReadoutBox& box, const std::vector<std::string>& lines,
             Colour first, Colour rest) {
    Plate(box, 0.75f);
    for (size_t i = 0; i < lines.size(); ++i) {
        const int32_t baseline = box.y + kPadding + 10 + static_cast<int32_t>(i) * kReadoutLineHeight;
        Text(renderer, box.x + kPadding, baseline, lines[i], i == 0 ? first : rest);
    }
}

void DrawRisingNumbers(Renderer& renderer, const CombatScreen& screen) {
    const std::vector<FloatingNumber>& numbers = screen.record.numbers();
    if (numbers.empty()) {
        return;
    }
    // The camera's view alone (applying it multiplies onto the current matrix).
    GLdouble modelView[16];
    GLdouble projection[16];
    GLint viewport[4];
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    renderer.ApplyCamera();
    glGetDoublev(GL_MODELVIEW_MATRIX, modelView);
    glPopMatrix();
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    renderer.Begin2D();
    for (const FloatingNumber& number : numbers) {
        const double rise = screen.record.RiseOf(number);
        GLdouble wx = 0;
        GLdouble wy = 0;
        GLdouble wz = -1;
        const double height = 5.5 + 3.0 * rise;
        if (gluProject(number.at.x, number.at.y + height, number.at.z, modelView, projection, viewport, &wx, &wy,
                       &wz) != GL_TRUE ||
            wz < 0.0 || wz > 1.0) {
            continue;
        }
        const double sx = 800.0 / std::max(1, viewport[2]);
        const double sy = 600.0 / std::max(1, viewport[3]);
        const std::string text = std::to_string(number.value);
        const int32_t x = static_cast<int32_t>((wx - viewport[0]) * sx) - TextWidth(text) / 2;
        const int32_t y = 600 - static_cast<int32_t>((wy - viewport[1]) * sy);
        ShadowedText(renderer, x, y, text, Amber);
    }
    renderer.End2D();
}

} // namespace

ReadoutBox ReadoutBoxAt(int32_t x, int32_t y, const std::vector<std::string>& lines) {
    int32_t widest = 0;
    for (const std::string& line : lines) {
        widest = std::max(widest, TextWidth(line));
    }
    ReadoutBox box;
    box.width = widest + 2 * kPadding;
    box.height = static_cast<int32_t>(lines.size()) * kReadoutLineHeight + 2 * kPadding;
    box.x = x + 18;
    box.y = y + 12;
    if (box.x + box.width > 800) {
        box.x = std::max(0, x - 8 - box.width);
    }
    if (box.y + box.height > 600) {
        box.y = std::max(0, y - 8 - box.height);
    }
    return box;
}

ReadoutBox LogLineBox(size_t line, const std::string& text) {
    return {4, 58 + static_cast<int32_t>(line) * (kReadoutLineHeight + 2), TextWidth(text) + 2 * kPadding,
            kReadoutLineHeight + 2};
}

ReadoutBox SummaryPanel() {
    return {200, 110, 400, 340};
}

void DrawBattleReadouts(Renderer& renderer, const CombatScreen& screen) {
    NoProgram unlit;
    DrawRisingNumbers(renderer, screen);
    renderer.Begin2D();
    const std::deque<std::string>& log = screen.record.log();
    for (size_t i = 0; i < log.size(); ++i) {
        const ReadoutBox box = LogLineBox(i, log[i]);
        Plate(box, 0.6f);
        Text(renderer, box.x + kPadding, box.y + 12, log[i], i + 1 == log.size() ? Alarm : White);
    }
    if (screen.pointer.known) {
        const RouteReadout route = screen.RouteUnderPointer();
        if (route.shown) {
            const std::vector<std::string> lines{route.text};
            Readout(renderer, ReadoutBoxAt(screen.pointer.x, screen.pointer.y, lines), lines, White, White);
        }
        const ShotReadout shot = screen.ShotUnderPointer();
        if (shot.shown) {
            const bool deadly = shot.oneShot != Outcome::Survives || shot.allShots != Outcome::Survives;
            Readout(renderer, ReadoutBoxAt(screen.pointer.x, screen.pointer.y, shot.lines), shot.lines, Amber,
                    deadly ? Alarm : White);
        }
    }
    renderer.End2D();
}

void DrawBattleSummary(Renderer& renderer, uint32_t background, const CombatScreen& screen) {
    renderer.ClearFrame();
    if (background != 0) {
        DrawTexturedRect(background, 0, 0, 800, 600, false);
    }
    NoProgram unlit;
    renderer.Begin2D();
    const ReadoutBox panel = SummaryPanel();
    Plate(panel, 0.85f);
    const std::vector<std::string> lines = SummaryLines(screen.record, screen.mission, screen.player1Won);
    const std::string title = "BATTLE SUMMARY";
    ShadowedText(renderer, panel.x + (panel.width - TextWidth(title)) / 2, panel.y + 30, title, Amber);
    for (size_t i = 0; i < lines.size(); ++i) {
        const bool heading = i == 0;
        const int32_t y = panel.y + 70 + static_cast<int32_t>(i) * 26;
        const int32_t x = heading ? panel.x + (panel.width - TextWidth(lines[i])) / 2 : panel.x + 40;
        ShadowedText(renderer, x, y, lines[i], heading ? (screen.player1Won ? Amber : Alarm) : White);
    }
    // The plate of the layout's CONTINUE button.
    Plate({300, 470, 200, 50}, 0.9f);
    renderer.End2D();
}
