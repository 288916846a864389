#include "fuzz/FuzzHarnesses.h"

#include "combat/BattleSimulation.h"
#include "combat/CombatScreen.h"
#include "combat/LevelMap.h"
#include "combat/Pathfinder.h"
#include "data/Army.h"
#include "data/Component.h"
#include "data/Unit.h"
#include "hud/HudLayout.h"
#include "platform/ColourKeyPicture.h"
#include "platform/Dialog.h"
#include "render/AseLoader.h"
#include "render/Camera.h"
#include "render/ModelCatalogue.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

// A private folder for the input file, made once per process and removed at exit.
class InputFolder {
public:
    InputFolder() {
        char pattern[] = "/tmp/vantor-fuzz-XXXXXX";
        if (mkdtemp(pattern) == nullptr) {
            std::perror("mkdtemp");
            std::abort();
        }
        folder_ = pattern;
    }
    ~InputFolder() {
        for (const std::string& file : written_) {
            unlink(file.c_str());
        }
        rmdir(folder_.c_str());
    }
    // Writes the bytes to the named file of the folder and gives its full path.
    std::string Write(const std::string& name, const uint8_t* data, size_t size) {
        const std::string path = folder_ + "/" + name;
        std::FILE* file = std::fopen(path.c_str(), "wb");
        if (file == nullptr || (size > 0 && std::fwrite(data, 1, size, file) != size) || std::fclose(file) != 0) {
            std::perror(path.c_str());
            std::abort();
        }
        bool known = false;
        for (const std::string& old : written_) {
            known = known || old == path;
        }
        if (!known) {
            written_.push_back(path);
        }
        return path;
    }
    const std::string& folder() const { return folder_; }

private:
    std::string folder_;
    std::vector<std::string> written_;
};

InputFolder& inputs() {
    static InputFolder folder;
    return folder;
}

// Boxes are answered at once and shown nowhere: a fuzzer would otherwise spend its time printing them.
void SilenceBoxes() {
    static bool silenced = false;
    if (!silenced) {
        SetDialogHook([](const DialogRequest& request) {
            return request.kind == DialogKind::Assertion ? DialogAnswer::Ignore : DialogAnswer::Ok;
        });
        silenced = true;
    }
}

std::string WriteInput(const char* name, const uint8_t* data, size_t size) {
    SilenceBoxes();
    return inputs().Write(name, data, size);
}

} // namespace

int FuzzComponentReader(const uint8_t* data, size_t size) {
    const std::string path = WriteInput("component.xml", data, size);
    Component component;
    if (LoadComponent(std::string_view(path), component)) {
        // A second read over the first must give the same stats.
        LoadComponent(std::nullopt, component);
    }
    return 0;
}

int FuzzUnitReader(const uint8_t* data, size_t size) {
    const std::string path = WriteInput("unit.xml", data, size);
    Unit unit;
    if (LoadUnit(std::string_view(path), unit)) {
        std::unique_ptr<Unit> copy = CloneUnit(unit);
        RecomputeStats(*copy);
    }
    return 0;
}

int FuzzMissionReader(const uint8_t* data, size_t size) {
    static Army* squad = [] {
        SilenceBoxes();
        auto* army = new Army();
        BuildSquad(*army, {});
        return army;
    }();
    const std::string path = WriteInput("mission.xml", data, size);
    LevelMap map;
    Pathfinder pathfinder;
    Camera camera(1.0f, 1000.0f);
    HeadlessHooks hooks;
    SeededRandom random(1);
    SimulatedClock clock;
    CombatScreen screen(map, pathfinder, camera, hooks, random, clock);
    if (screen.LoadMission(std::string_view(path), squad) && !screen.turnQueue.empty()) {
        // A few frames of the computer playing both sides: the units stand where the file put them.
        for (Unit* unit : screen.turnQueue) {
            unit->owner.isComputer = true;
        }
        screen.Enter();
        CombatInput input;
        for (int frame = 0; frame < 40 && !screen.player1Won && !screen.player2Won; ++frame) {
            clock.Advance(50);
            screen.Update(input);
        }
        screen.Exit(nullptr);
    }
    return 0;
}

int FuzzLevelMapReader(const uint8_t* data, size_t size) {
    WriteInput("map.xml", data, size);
    LevelMap map;
    map.SetFolder(inputs().folder() + "/");
    if (map.Load("map.xml") && !map.empty()) {
        // Flood and plan from the far corner, where the loops meet the grid's edges.
        Pathfinder pathfinder;
        Mover mover;
        mover.x = static_cast<int32_t>(map.width()) - 1;
        mover.y = static_cast<int32_t>(map.height()) - 1;
        mover.moveDist = 12;
        pathfinder.markReachable(map, NoUnits(), mover);
        pathfinder.findPath(map, mover, 0, 0, true);
    }
    return 0;
}

int FuzzLayoutReader(const uint8_t* data, size_t size) {
    const std::string path = WriteInput("layout.xml", data, size);
    HudLayout layout;
    if (layout.LoadHud(path)) {
        for (const HudButton& button : layout.buttons()) {
            layout.MouseOver(button.pickColour);
        }
    }
    return 0;
}

int FuzzModelCatalogueReader(const uint8_t* data, size_t size) {
    const std::string path = WriteInput("Models.xml", data, size);
    std::vector<std::string> files;
    ReadModelCatalogue(path, files);
    return 0;
}

int FuzzAseReader(const uint8_t* data, size_t size) {
    const std::string path = WriteInput("model.ASE", data, size);
    AseLoader loader;
    loader.SetEchoMessages(false);
    std::unique_ptr<ModelNode> model = loader.ParseAse(path);
    return 0;
}

int FuzzColourKeyPictureReader(const uint8_t* data, size_t size) {
    std::optional<RgbPicture> picture = DecodeBmp(data, size);
    if (picture) {
        std::vector<uint8_t> silhouette = ColourKeySilhouette(*picture, 255000128);
        if (silhouette.size() != picture->pixels.size() / 3 * 4) {
            std::abort();
        }
    }
    return 0;
}

const std::vector<FuzzHarness>& FuzzHarnesses() {
    static const std::vector<FuzzHarness> harnesses = {
        {"component", FuzzComponentReader},
        {"unit", FuzzUnitReader},
        {"mission", FuzzMissionReader},
        {"level_map", FuzzLevelMapReader},
        {"layout", FuzzLayoutReader},
        {"model_catalogue", FuzzModelCatalogueReader},
        {"ase", FuzzAseReader},
        {"colour_key_picture", FuzzColourKeyPictureReader},
    };
    return harnesses;
}
