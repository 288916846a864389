#include "core/Boot.h"
#include "core/GameContext.h"
#include "core/Screens.h"
#include "hud/MessageDispatcher.h"
#include "screens/BuildScreen.h"
#include "screens/WorldMap.h"

#include <GL/gl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace {

struct Frame {
    std::vector<uint8_t> rgb; // rows from the bottom
    // The pixel at layout (x, y), origin top left.
    std::array<int, 3> at(int x, int y) const {
        const size_t i = (size_t(599 - y) * 800 + size_t(x)) * 3;
        return {rgb[i], rgb[i + 1], rgb[i + 2]};
    }
};

// Reads the frame just drawn and keeps a copy beside the run folder for a look by eye.
Frame ReadFrame(const std::string& name) {
    Frame frame;
    frame.rgb.resize(800 * 600 * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, 800, 600, GL_RGB, GL_UNSIGNED_BYTE, frame.rgb.data());
    const std::filesystem::path folder = std::filesystem::path(VANTOR_RUN_DIR) / ".." / "screen_pictures";
    std::filesystem::create_directories(folder);
    std::ofstream out(folder / (name + ".ppm"), std::ios::binary);
    out << "P6\n800 600\n255\n";
    for (int y = 0; y < 600; ++y) {
        out.write(reinterpret_cast<const char*>(&frame.rgb[size_t(599 - y) * 800 * 3]), 800 * 3);
    }
    return frame;
}

void SendHudMessage(int32_t value) {
    Message message;
    message.type = HudMessage;
    message.value = value;
    MessageDispatcher::Instance().Send(message);
    MessageDispatcher::Instance().Update();
}

int Difference(const std::array<int, 3>& a, const std::array<int, 3>& b) {
    return std::abs(a[0] - b[0]) + std::abs(a[1] - b[1]) + std::abs(a[2] - b[2]);
}

} // namespace

TEST(ScreenPictures, WorldMapAndBuildScreenDrawAfterABoot) {
    GameContext& game = GameContext::Get();
    game.missionFiles.clear(); // the boot appends to them
    game.moduleFiles.clear();
    BootUpdate();
    FinishBoot(game); // the logo frames would load the rest
    ASSERT_FALSE(game.missionFiles.empty());
    ASSERT_EQ(game.moduleFiles.size(), size_t(kPartCount));
    if (!game.campaign) {
        game.campaign = std::make_unique<Campaign>(); // these screens are the subject, not the boot
    }

    game.ChangeState(kWorldMapState);
    WorldMapUpdate();
    const Frame map = ReadFrame("worldmap");
    // Standings start at 50: the lower half of each frame is filled, the upper half is not.
    EXPECT_GT(Difference(map.at(40, 510), map.at(40, 450)), 30);

    game.ChangeState(kBuildState);
    BuildUpdate();
    const Frame empty = ReadFrame("build_empty");
    SendHudMessage(BuildValue::PreviousPage); // the page stays from earlier visits
    SendHudMessage(BuildValue::PreviousPage);
    SendHudMessage(5); // Wolf Core
    SendHudMessage(BuildValue::NextPage);
    SendHudMessage(0); // Rat Head
    SendHudMessage(5); // Blaster
    SendHudMessage(BuildValue::NextPage);
    SendHudMessage(6); // Tri Laser Blue
    ASSERT_TRUE(game.campaign->army().squad[0]->core);
    BuildUpdate();
    const Frame built = ReadFrame("build_mech");
    int changed = 0;
    for (int y = 146; y < 256; y += 4) {
        for (int x = 256; x < 572; x += 4) {
            changed += Difference(empty.at(x, y), built.at(x, y)) > 30 ? 1 : 0;
        }
    }
    EXPECT_GT(changed, 50) << "the mech preview should cover part of the middle of the screen";

    game.ChangeState(kSquadState);
    SquadUpdate();
    ReadFrame("squad");
    game.ChangeState(kQuitState);
}
