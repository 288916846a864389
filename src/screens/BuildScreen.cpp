#include "screens/BuildScreen.h"

#include "core/GameContext.h"
#include "core/ScreenHud.h"
#include "render/gl/ModelDrawing.h"
#include "screens/ScreenDrawing.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <SDL.h>

namespace {

constexpr int32_t kSquadScreenSlot = 10;
constexpr int32_t kBuildScreenSlot = 25;

void StartMusic(GameContext& game) {
    if (game.buildMusic < 0) {
        game.buildMusic = game.sound.LoadSound(kBuildMusic, true, true);
    }
    game.sound.PlaySound(game.buildMusic);
}

// Draws the mech being built, turning slowly, in the frame in the middle of the screen.
void DrawMechPreview(Component& core) {
    GameContext& game = GameContext::Get();
    const Renderer& renderer = game.renderer;
    const float scaleX = float(renderer.width) / 800.0f;
    const float scaleY = float(renderer.height) / 600.0f;
    const int32_t left = 256, top = 146, width = 316, height = 110;

    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    glViewport(GLint(float(left) * scaleX), GLint(float(600 - top - height) * scaleY),
               GLsizei(float(width) * scaleX), GLsizei(float(height) * scaleY));
    glClear(GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    gluPerspective(40.0, double(width) / double(height), 0.5, 200.0);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    gluLookAt(0.0, 2.5, 6.5, 0.0, 1.0, 0.0, 0.0, 1.0, 0.0);
    glRotatef(float(SDL_GetTicks() % 12000) * 0.03f, 0.0f, 1.0f, 0.0f);

    // The core stands at the origin while it is shown here.
    const Transform placed = core.transform;
    core.transform.position = Vector3{0.0f, 0.0f, 0.0f};
    DrawComponent(core, false);
    core.transform = placed;

    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glViewport(viewport[0], viewport[1], viewport[2], viewport[3]);
}

} // namespace

// [SECTION] Receiver

SquadBuildMessage& SquadBuildMessage::Get() {
    static SquadBuildMessage receiver;
    return receiver;
}

SquadBuildMessage::SquadBuildMessage() {
    Subscribe(HudMessage);
}

void SquadBuildMessage::ProcessMessages() {
    DrainInbox([this](const Message& message) {
        if (!active || message.type != HudMessage) {
            return;
        }
        GameContext& game = GameContext::Get();
        if (!game.campaign) {
            return;
        }
        // A new core hands its old pick colour and display list back itself.
        builder.HandleValue(message.value, game.campaign->army(), game.moduleFiles);
    });
}

// [SECTION] Build screen

void BuildEnter() {
    GameContext& game = GameContext::Get();
    StartMusic(game);
    game.hud.LoadHud(kBuildLayout);
    SquadBuildMessage& screen = SquadBuildMessage::Get();
    screen.active = true;
    screen.builder.SelectSlot(0);
}

void BuildUpdate() {
    GameContext& game = GameContext::Get();
    game.renderer.BeginScene();
    DrawScreenPicture(kBuildScreenSlot);
    DrawScreenHud();
    if (!game.campaign) {
        return;
    }
    SquadBuilder& builder = SquadBuildMessage::Get().builder;
    Army& army = game.campaign->army();
    if (Unit* unit = builder.currentUnit(army); unit != nullptr && unit->core) {
        DrawMechPreview(*unit->core);
    }
    PrintTexts(builder.Texts(army));
}

void BuildExit() {
    GameContext& game = GameContext::Get();
    SquadBuildMessage::Get().active = false;
    game.sound.StopSound(game.buildMusic);
}

// [SECTION] Squad screen

void SquadEnter() {
    GameContext& game = GameContext::Get();
    StartMusic(game);
    game.hud.LoadHud(kSquadLayout);
}

void SquadUpdate() {
    GameContext& game = GameContext::Get();
    game.renderer.BeginScene();
    DrawScreenPicture(kSquadScreenSlot);
    DrawScreenHud();
    if (game.campaign) {
        PrintTexts(SquadBayTexts(game.campaign->army()));
    }
}

void SquadExit() {
    GameContext& game = GameContext::Get();
    game.sound.StopSound(game.buildMusic);
}
