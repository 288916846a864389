#include "screens/SquadBuilder.h"

#include "data/Army.h"
#include "platform/Dialog.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace {

class SquadBuilderTest : public ::testing::Test {
protected:
    void SetUp() override {
        ListModuleFiles(moduleFiles);
        ASSERT_EQ(moduleFiles.size(), size_t(kPartCount)) << "run from the game folder";
    }

    int32_t count(int number) const {
        const PartKind part = PartKindOf(number);
        return army.inventory.CountOf(part.category, part.index);
    }
    void press(int32_t value) { builder.HandleValue(value, army, moduleFiles); }
    // Presses the row button that shows part number n, turning pages as needed.
    void equipPart(int number) {
        while (builder.page() > number / kInventoryRows) {
            press(BuildValue::PreviousPage);
        }
        while (builder.page() < number / kInventoryRows) {
            press(BuildValue::NextPage);
        }
        press(number % kInventoryRows);
    }
    Unit& unit(int slot = 0) { return *army.squad[size_t(slot)]; }
    bool hasText(const std::string& text) const {
        const auto texts = builder.Texts(army);
        return std::any_of(texts.begin(), texts.end(), [&](const ScreenText& t) { return t.text == text; });
    }

    std::vector<std::string> moduleFiles;
    Army army;
    SquadBuilder builder;
};

constexpr int kAntCore = 0, kWolfCore = 5, kAntHead = 6, kAssaultHead = 7, kBlaster = 14, kCannonAA = 18,
              kTriLaserRed = 26;

} // namespace

TEST_F(SquadBuilderTest, NewGameBuildsAFullMechFromTheStartingInventory) {
    equipPart(kAntCore);
    ASSERT_TRUE(unit().core);
    EXPECT_EQ(unit().core->name, "Ant_Core");
    EXPECT_EQ(count(kAntCore), 1);
    EXPECT_GT(unit().fullHp, 0);
    EXPECT_TRUE(hasText("Ant Core"));
    EXPECT_TRUE(hasText("HP: " + std::to_string(unit().hp) + "/" + std::to_string(unit().fullHp)));

    equipPart(kAntHead);
    equipPart(kBlaster);
    equipPart(kCannonAA);
    ASSERT_EQ(unit().core->children.size(), 3u);
    ASSERT_NE(unit().weapon, nullptr);
    EXPECT_EQ(unit().weapon->name, "Double Cannon AA_Weapon");
    EXPECT_EQ(count(kAntHead), 1);
    EXPECT_EQ(count(kBlaster), 1);
    EXPECT_EQ(count(kCannonAA), 1);
    EXPECT_TRUE(hasText("Ant Head"));
    EXPECT_TRUE(hasText("Blaster Tail"));
    EXPECT_TRUE(hasText("Double Cannon AA"));
    EXPECT_TRUE(hasText("Damage: " + std::to_string(unit().weapon->damage)));
    EXPECT_TRUE(hasText("Page 3/3"));
    // The rest of the squad is untouched.
    EXPECT_FALSE(unit(1).core);
}

TEST_F(SquadBuilderTest, ReplacingAndTakingOffModulesKeepsTheCountsRight) {
    equipPart(kAntCore);
    equipPart(kAntHead);
    equipPart(kAssaultHead); // replaces the first head where it sits
    ASSERT_EQ(unit().core->children.size(), 1u);
    EXPECT_EQ(unit().core->children[0]->name, "Assault_Head");
    EXPECT_EQ(count(kAntHead), 2);
    EXPECT_EQ(count(kAssaultHead), 1);

    press(BuildValue::TakeOffHead);
    EXPECT_TRUE(unit().core->children.empty());
    EXPECT_EQ(count(kAssaultHead), 2);
    equipPart(kAntHead); // nothing goes back a second time
    EXPECT_EQ(count(kAssaultHead), 2);
    EXPECT_EQ(count(kAntHead), 1);

    equipPart(kTriLaserRed);
    const int32_t hpWithWeapon = unit().fullHp;
    press(BuildValue::TakeOffWeapon);
    EXPECT_EQ(unit().weapon, nullptr);
    EXPECT_EQ(count(kTriLaserRed), 2);
    EXPECT_EQ(unit().core->children.size(), 1u);
    EXPECT_LE(unit().fullHp, hpWithWeapon);
    press(BuildValue::TakeOffWeapon); // nothing left to take off
    press(BuildValue::TakeOffTail);
    EXPECT_EQ(count(kTriLaserRed), 2);
    EXPECT_EQ(unit().core->children.size(), 1u);
}

TEST_F(SquadBuilderTest, ChangingTheCoreKeepsModulesAndUsesTheNewBaseValues) {
    equipPart(kAntCore);
    equipPart(kAntHead);
    equipPart(kWolfCore);
    EXPECT_EQ(count(kAntCore), 2);
    EXPECT_EQ(count(kWolfCore), 1);
    ASSERT_EQ(unit().core->children.size(), 1u);
    EXPECT_EQ(unit().core->name, "Wolf_Core");

    Unit expected;
    expected.core = std::make_unique<Component>();
    LoadComponent(moduleFiles[kWolfCore], *expected.core);
    auto head = std::make_unique<Component>();
    LoadComponent(moduleFiles[kAntHead], *head);
    expected.core->children.push_back(std::move(head));
    RecomputeStats(expected);
    EXPECT_EQ(unit().fullHp, expected.fullHp);
    EXPECT_EQ(unit().moveDist, expected.moveDist);
    EXPECT_EQ(unit().defense, expected.defense);
}

TEST_F(SquadBuilderTest, EmptyStockAndCorelessUnitsRefuseParts) {
    press(BuildValue::FirstSlot + 2);
    EXPECT_EQ(builder.currentSlot(), 2);
    equipPart(kAntHead); // no core yet
    press(BuildValue::TakeOffHead);
    EXPECT_FALSE(unit(2).core);
    EXPECT_EQ(count(kAntHead), 2);
    EXPECT_FALSE(hasText("HP: 0/0"));

    equipPart(kAntCore);
    press(BuildValue::FirstSlot + 3);
    equipPart(kAntCore);
    press(BuildValue::FirstSlot + 4);
    equipPart(kAntCore); // none left
    EXPECT_EQ(count(kAntCore), 0);
    EXPECT_FALSE(unit(4).core);
    EXPECT_TRUE(unit(2).core && unit(3).core);
    EXPECT_TRUE(hasText("0"));
}

TEST_F(SquadBuilderTest, PagesSlotsAndStrayValues) {
    press(BuildValue::PreviousPage);
    EXPECT_EQ(builder.page(), 0);
    for (int i = 0; i < 4; ++i) {
        press(BuildValue::NextPage);
    }
    EXPECT_EQ(builder.page(), 2);
    const auto rows = builder.Rows(army.inventory);
    ASSERT_EQ(rows.size(), size_t(kInventoryRows));
    EXPECT_EQ(rows.front().partNumber, 18);
    EXPECT_EQ(rows.back().partNumber, 26);
    EXPECT_EQ(rows.back().name, "Tri Laser Red");
    EXPECT_EQ(rows.back().count, 2);

    press(BuildValue::FirstSlot + 5);
    EXPECT_EQ(builder.currentSlot(), 5);
    for (int32_t stray : {-1, 20, 255, 1000000}) {
        press(stray);
    }
    EXPECT_EQ(builder.currentSlot(), 5);
    EXPECT_EQ(builder.page(), 2);
    for (const auto& slot : army.squad) {
        EXPECT_FALSE(slot->core);
    }
}

TEST_F(SquadBuilderTest, UnreadableModuleFileLeavesMechAndInventoryAlone) {
    DialogRecorder dialogs;
    std::vector<std::string> noFiles;
    builder.HandleValue(0, army, noFiles);
    EXPECT_FALSE(unit().core);
    EXPECT_EQ(count(kAntCore), 2);
    EXPECT_EQ(dialogs.shown().size(), 1u);

    equipPart(kAntCore);
    std::vector<std::string> brokenFiles = moduleFiles;
    brokenFiles[kAntHead] = "XMLFiles\\Mecha\\Modules\\Heads\\Missing.xml";
    builder.Equip(PartKindOf(kAntHead), army, brokenFiles);
    EXPECT_TRUE(unit().core->children.empty());
    EXPECT_EQ(count(kAntHead), 2);
    EXPECT_TRUE(
        dialogs.sawText("Could not open file for reading: XMLFiles\\Mecha\\Modules\\Heads\\Missing.xml"));
}

TEST_F(SquadBuilderTest, SquadBaysNameTheirMechs) {
    press(BuildValue::FirstSlot + 4);
    equipPart(kWolfCore);
    const auto bays = SquadBayTexts(army);
    ASSERT_EQ(bays.size(), size_t(kSquadSize));
    EXPECT_EQ(bays[0].text, "Empty");
    EXPECT_EQ(bays[4].text, "Wolf Core  HP " + std::to_string(unit(4).fullHp) + "  no weapon");
    EXPECT_EQ(bays[4].x, bays[1].x);
    EXPECT_GT(bays[4].y, bays[1].y);
    equipPart(kCannonAA);
    EXPECT_EQ(SquadBayTexts(army)[4].text, "Wolf Core  HP " + std::to_string(unit(4).fullHp));
}

TEST_F(SquadBuilderTest, ANewArmyGetsBackOnlyWhatItsOwnMechsCarried) {
    equipPart(kAntCore);
    equipPart(kCannonAA);
    EXPECT_EQ(builder.equipped(WEAPON, 0).index, 0);

    Army fresh;                                 // a new game: the builder's records belong to the old army
    builder.HandleValue(0, fresh, moduleFiles); // page 2, row 0: a cannon, but the new mech has no core
    EXPECT_EQ(fresh.inventory.CountOf(WEAPON, 0), 2);
    while (builder.page() > 0) {
        builder.PreviousPage();
    }
    builder.HandleValue(kWolfCore, fresh, moduleFiles);
    EXPECT_EQ(fresh.inventory.CountOf(CORE, 0), 2) << "no Ant Core was on the new army's mech";
    EXPECT_EQ(fresh.inventory.CountOf(CORE, 5), 1);
    builder.NextPage();
    builder.NextPage();
    builder.HandleValue(kTriLaserRed - 18, fresh, moduleFiles);
    EXPECT_EQ(fresh.inventory.CountOf(WEAPON, 0), 2) << "no cannon was on the new army's mech";
    EXPECT_EQ(fresh.inventory.CountOf(WEAPON, 8), 1);
}
