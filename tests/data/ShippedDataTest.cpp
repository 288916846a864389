#include "data/Component.h"
#include "data/Unit.h"
#include "platform/Dialog.h"
#include "platform/Paths.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>
#include <tinyxml2.h>

// Every module and unit file the game ships, read from the run folder with the game's own loaders.

namespace {

// The projectile a weapon's name picks in battle: the first word of this list that it contains.
std::string EffectWord(std::string_view weaponName) {
    for (std::string_view word : {"Double", "Red", "Green", "Blue", "Plasma"}) {
        if (weaponName.find(word) != std::string_view::npos) {
            return std::string(word);
        }
    }
    return "none";
}

std::vector<std::string> ShippedModules() {
    std::vector<std::string> files;
    ListModuleFiles(files);
    return files;
}

std::unique_ptr<Component> LoadPart(const std::vector<std::string>& files, int partNumber) {
    auto component = std::make_unique<Component>();
    EXPECT_TRUE(LoadComponent(PartFile(files, partNumber), *component)) << PartFile(files, partNumber);
    return component;
}

// Lowest timeUsed an activation can start with is 1 (a random 1 to 10 is added), so a shot must fit in 90.
constexpr int kAffordableTime = 90;

} // namespace

TEST(ShippedData, EveryPartNumberLoadsThePartOfItsOwnName) {
    DialogRecorder recorder;
    const std::vector<std::string> files = ShippedModules();
    ASSERT_EQ(size_t(kPartCount), files.size());
    const std::string words[] = {"Core", "Head", "Tail", "Weapon"};
    std::set<int> coreSlots;

    for (int n = 0; n < kPartCount; ++n) {
        SCOPED_TRACE(files[size_t(n)]);
        const PartKind kind = PartKindOf(n);
        const std::unique_ptr<Component> part = LoadPart(files, n);
        EXPECT_EQ(kind.category, part->type);
        EXPECT_EQ(kind.index, PartIndexFromName(kind.category, part->name)) << part->name;
        for (int other = 1; other <= 4; ++other) {
            const bool contains = part->name.find(words[other - 1]) != std::string::npos;
            EXPECT_EQ(other == kind.category, contains) << part->name << " and the word " << words[other - 1];
        }

        const std::string prefix(NamePrefix(part->name));
        const std::string shown = PartDisplayName(n).data();
        switch (kind.category) {
        case CORE:
            EXPECT_EQ(shown, prefix + " Core");
            EXPECT_FALSE(part->isWeapon);
            EXPECT_GE(part->headPoints, 1);
            EXPECT_GE(part->tailPoints, 1);
            EXPECT_GE(part->weaponPoints, 1);
            EXPECT_GE(part->modelSlot, 1);
            EXPECT_LE(part->modelSlot, 6);
            coreSlots.insert(part->modelSlot);
            EXPECT_GT(part->body, 0);
            EXPECT_GE(part->moveDist, 2);
            break;
        case HEAD:
            EXPECT_EQ(shown, prefix + " Head");
            EXPECT_EQ(1, part->headPoints);
            EXPECT_EQ(0, part->tailPoints);
            EXPECT_EQ(0, part->weaponPoints);
            EXPECT_GE(part->modelSlot, 25);
            EXPECT_LE(part->modelSlot, 30);
            break;
        case TAIL:
            EXPECT_EQ(0, (prefix + " Tail").rfind(shown, 0))
                << "the build screen shows " << prefix << " Tail";
            EXPECT_EQ(0, part->headPoints);
            EXPECT_EQ(1, part->tailPoints);
            EXPECT_EQ(0, part->weaponPoints);
            EXPECT_GE(part->modelSlot, 31);
            EXPECT_LE(part->modelSlot, 43);
            break;
        case WEAPON:
            EXPECT_EQ(shown, prefix);
            EXPECT_EQ(0, part->headPoints);
            EXPECT_EQ(0, part->tailPoints);
            EXPECT_EQ(1, part->weaponPoints);
            EXPECT_TRUE(part->isWeapon);
            EXPECT_GE(part->modelSlot, 13);
            EXPECT_LE(part->modelSlot, 24);
            EXPECT_GT(part->damage, 0);
            EXPECT_GT(part->accuracy, 0);
            EXPECT_GT(part->shots, 0);
            EXPECT_GT(part->timeCost, 0);
            EXPECT_LE(part->timeCost, kAffordableTime);
            EXPECT_LT(part->minRange, part->maxRange);
            break;
        }
        EXPECT_NE(std::string::npos, part->name.find('_'))
            << "the build screen shows the text before the first _";
    }
    EXPECT_EQ(6u, coreSlots.size()) << "each core draws its own whole mech";
    EXPECT_TRUE(recorder.shown().empty());

    // The weapon names pick the projectile of their family.
    const std::string effects[] = {"Double", "Double", "Double", "Plasma", "Plasma",
                                   "Plasma", "Blue",   "Green",  "Red"};
    for (int index = 0; index < PartCountOf(WEAPON); ++index) {
        const std::unique_ptr<Component> weapon = LoadPart(files, PartNumber(WEAPON, index));
        EXPECT_EQ(effects[index], EffectWord(weapon->name)) << weapon->name;
    }
}

TEST(ShippedData, EveryBuildableMechCanMoveAndShoot) {
    DialogRecorder recorder;
    const std::vector<std::string> files = ShippedModules();
    ASSERT_EQ(size_t(kPartCount), files.size());
    std::vector<std::unique_ptr<Component>> parts;
    for (int n = 0; n < kPartCount; ++n) {
        parts.push_back(LoadPart(files, n));
    }
    for (int core = 0; core < PartCountOf(CORE); ++core) {
        for (int head = 0; head < PartCountOf(HEAD); ++head) {
            for (int tail = 0; tail < PartCountOf(TAIL); ++tail) {
                for (int weapon = 0; weapon < PartCountOf(WEAPON); ++weapon) {
                    Unit unit;
                    unit.core = CloneComponent(*parts[size_t(PartNumber(CORE, core))]);
                    unit.core->children.push_back(CloneComponent(*parts[size_t(PartNumber(HEAD, head))]));
                    unit.core->children.push_back(CloneComponent(*parts[size_t(PartNumber(TAIL, tail))]));
                    unit.core->children.push_back(CloneComponent(*parts[size_t(PartNumber(WEAPON, weapon))]));
                    RecomputeStats(unit);
                    SCOPED_TRACE(unit.coreName + " + " + unit.core->children[0]->name + " + " +
                                 unit.core->children[1]->name + " + " + unit.core->children[2]->name);
                    ASSERT_NE(nullptr, unit.weapon);
                    EXPECT_GT(unit.hp, 0);
                    EXPECT_GE(unit.moveDist, 1);
                    EXPECT_LE(unit.moveRatio, 20);
                    EXPECT_LE(unit.weapon->timeCost, kAffordableTime);
                    EXPECT_GT(unit.weapon->damage + unit.weapon->damage * (unit.weapon->accuracy - 100) / 100,
                              0)
                        << "a defense of 100 still leaves some damage";
                }
            }
        }
    }
    EXPECT_TRUE(recorder.shown().empty());
}

TEST(ShippedData, EnemyUnitsAreWholeAndSane) {
    DialogRecorder recorder;
    std::vector<std::string> unitFiles;
    ListFiles("XMLFiles\\Units", unitFiles);
    ASSERT_GE(unitFiles.size(), 8u);
    std::set<int> skins;
    bool sawAce = false;
    for (const std::string& path : unitFiles) {
        SCOPED_TRACE(path);
        Unit unit;
        ASSERT_TRUE(LoadUnit(path, unit));
        ASSERT_NE(nullptr, unit.core);
        ASSERT_NE(nullptr, unit.weapon);
        EXPECT_NE("MECH_NAME", unit.name);
        EXPECT_GT(unit.hp, 0);
        EXPECT_GE(unit.moveRatio, 1);
        EXPECT_LE(unit.moveRatio, 20);
        EXPECT_GE(unit.moveDist, 1);
        EXPECT_LE(unit.weapon->timeCost, 100);
        EXPECT_GE(unit.skin, 1);
        EXPECT_LE(unit.skin, 11);
        skins.insert(unit.skin);
        if (unit.name == "Ace") {
            sawAce = true;
            EXPECT_EQ(11, unit.skin);
        }

        // Every module the file names is attached (none is cut off by the core's points), and every
        // path keeps the game's spelling.
        tinyxml2::XMLDocument document;
        ASSERT_EQ(tinyxml2::XML_SUCCESS, document.LoadFile(NativePath(path).c_str()));
        size_t modules = 0;
        for (const tinyxml2::XMLElement* element = document.RootElement()->FirstChildElement(); element;
             element = element->NextSiblingElement()) {
            const std::string tag = element->Name();
            if (tag == "head" || tag == "tail" || tag == "weapon" || tag == "core") {
                const std::string text = element->GetText() ? element->GetText() : "";
                EXPECT_EQ(0u, text.rfind("XMLFiles\\Mecha\\Modules\\", 0)) << text;
                EXPECT_EQ(std::string::npos, text.find('/')) << text;
                modules += tag == "core" ? 0 : 1;
            }
        }
        EXPECT_EQ(modules, unit.core->children.size());
    }
    EXPECT_TRUE(sawAce);
    EXPECT_EQ(11u, skins.size()) << "the enemy units use every skin from 1 to 11";
    EXPECT_TRUE(recorder.shown().empty());
}
