#include "data/Component.h"
#include "data/DataXml.h"
#include "platform/Dialog.h"

#include "data/TempFiles.h"

#include <gtest/gtest.h>

TEST(Component, ReadsEveryElementOfAFullFile) {
    TempFolder folder;
    const std::string path = folder.write("Gun.xml", R"(<component model="13">
        <name>Test Gun_Weapon</name>
        <type>WEAPON</type>
        <points head="0" tail="0" weapon="1" mobility="2"/>
        <stats weightClass="1" body="10" moveDist="-1" moveRatio="2" defense="3" accuracy="80"/>
        <weaponStats damage="12" maxRange="6" minRange="1" AoE="2" timeCost="25" reload="1" shots="3"/>
        <model index="7"/>
    </component>)");
    DialogRecorder recorder;
    Component gun;
    EXPECT_TRUE(LoadComponent(path, gun));
    EXPECT_TRUE(recorder.shown().empty());
    EXPECT_EQ(path, gun.fileName);
    EXPECT_EQ(13, gun.modelSlot);
    EXPECT_EQ("Test Gun_Weapon", gun.name);
    EXPECT_EQ(WEAPON, gun.type);
    EXPECT_TRUE(gun.isWeapon);
    EXPECT_EQ(2, gun.mobility);
    EXPECT_EQ(10, gun.body);
    EXPECT_EQ(10, gun.hp);
    EXPECT_EQ(-1, gun.moveDist);
    EXPECT_EQ(2, gun.moveRatio);
    EXPECT_EQ(3, gun.defense);
    EXPECT_EQ(80, gun.accuracy);
    EXPECT_EQ(1, gun.weightClass);
    EXPECT_EQ(12, gun.damage);
    EXPECT_EQ(6, gun.maxRange);
    EXPECT_EQ(1, gun.minRange);
    EXPECT_EQ(2, gun.AoE);
    EXPECT_EQ(25, gun.timeCost);
    EXPECT_EQ(1, gun.reload);
    EXPECT_EQ(3, gun.shots);
    ASSERT_TRUE(gun.modelIndex.has_value());
    EXPECT_EQ(7, *gun.modelIndex);
}

TEST(Component, MinimalFileGivesZerosAndReloadRestoresOnlyWhatTheFileNames) {
    TempFolder folder;
    const std::string path =
        folder.write("Bare.xml", "<component><name>Bare_Head</name><type>HEAD</type></component>");
    Component bare;
    ASSERT_TRUE(LoadComponent(path, bare));
    EXPECT_EQ(HEAD, bare.type);
    EXPECT_EQ(0, bare.body);
    EXPECT_EQ(0, bare.damage);
    EXPECT_EQ(0, bare.headPoints);
    EXPECT_FALSE(bare.isWeapon);
    EXPECT_FALSE(bare.modelIndex.has_value());

    bare.damage = 40;
    bare.name = "changed";
    ASSERT_TRUE(LoadComponent(std::nullopt, bare));
    EXPECT_EQ("Bare_Head", bare.name);
    EXPECT_EQ(40, bare.damage) << "no weaponStats element, so the earlier value stays";

    // stats without body sets both body and hp to 0.
    const std::string noBody = folder.write(
        "NoBody.xml", "<component><name>n</name><type>TAIL</type><stats moveDist=\"2\"/></component>");
    bare.body = 9;
    bare.hp = 9;
    ASSERT_TRUE(LoadComponent(noBody, bare));
    EXPECT_EQ(0, bare.body);
    EXPECT_EQ(0, bare.hp);
    EXPECT_EQ(2, bare.moveDist);
}

TEST(Component, TypeTextAndWeaponMarking) {
    TempFolder folder;
    Component lower;
    ASSERT_TRUE(LoadComponent(folder.write("a.xml", "<component><name>x</name><type>core</type></component>"),
                              lower));
    EXPECT_EQ(0, lower.type);

    // A core with one weapon point and no head or tail point is marked too, whatever its type says.
    Component core;
    ASSERT_TRUE(LoadComponent(
        folder.write("b.xml",
                     R"(<component><name>x</name><type>CORE</type><points weapon="1"/></component>)"),
        core));
    EXPECT_EQ(CORE, core.type);
    EXPECT_TRUE(core.isWeapon);

    // The mark is never cleared by a reload that no longer gives it.
    folder.write("b.xml",
                 R"(<component><name>x</name><type>CORE</type><points head="1" weapon="1"/></component>)");
    ASSERT_TRUE(LoadComponent(std::nullopt, core));
    EXPECT_TRUE(core.isWeapon);

    Component twoWeapons;
    ASSERT_TRUE(LoadComponent(
        folder.write("c.xml",
                     R"(<component><name>x</name><type>CORE</type><points weapon="2"/></component>)"),
        twoWeapons));
    EXPECT_FALSE(twoWeapons.isWeapon);
}

TEST(Component, BadFilesShowTheirBoxAndNeverCrash) {
    TempFolder folder;
    DialogRecorder recorder;
    Component component;
    component.name = "kept";
    component.body = 33;

    const std::string missing = folder.file("Missing.xml");
    EXPECT_FALSE(LoadComponent(missing, component));
    EXPECT_TRUE(recorder.sawText("Could not open file for reading: " + missing));
    EXPECT_EQ(DialogKind::Error, recorder.shown().back().kind);
    EXPECT_EQ("kept", component.name);
    EXPECT_EQ(33, component.body);

    const std::string notXml = folder.write("NotXml.xml", "this is <<< not xml");
    EXPECT_FALSE(LoadComponent(notXml, component));
    EXPECT_TRUE(recorder.sawText("Could not open file for reading: " + notXml));
    EXPECT_EQ("kept", component.name);

    EXPECT_FALSE(
        LoadComponent(folder.write("Root.xml", "<unit><name>x</name><type>CORE</type></unit>"), component));
    EXPECT_TRUE(recorder.sawText("Missing \"component\" Tag"));
    EXPECT_EQ("kept", component.name);

    EXPECT_FALSE(
        LoadComponent(folder.write("NoName.xml", "<component><type>CORE</type></component>"), component));
    EXPECT_TRUE(recorder.sawText("Missing \"name\" Tag"));

    // type must follow name: one placed before it is not found.
    EXPECT_FALSE(LoadComponent(
        folder.write("Order.xml", "<component><type>CORE</type><name>x</name></component>"), component));
    EXPECT_TRUE(recorder.sawText("Missing \"type\" Tag"));
    EXPECT_EQ(3, recorder.count(DialogKind::Assertion));

    // A folder where a file should be is reported like a missing file.
    EXPECT_FALSE(LoadComponent(folder.path().string(), component));
    EXPECT_TRUE(recorder.sawText("Could not open file for reading: " + folder.path().string()));

    // Reloading with an empty stored name fails cleanly too.
    Component fresh;
    EXPECT_FALSE(LoadComponent(std::nullopt, fresh));
    EXPECT_TRUE(recorder.sawText("Could not open file for reading: "));
}

TEST(Component, NumbersFollowAtoiButNeverOverflow) {
    EXPECT_EQ(0, ParseDataInt("abc"));
    EXPECT_EQ(12, ParseDataInt("  12abc"));
    EXPECT_EQ(-7, ParseDataInt("-7"));
    EXPECT_EQ(0, ParseDataInt(""));
    EXPECT_EQ(kDataValueLimit, ParseDataInt("99999999999999999999999999"));
    EXPECT_EQ(-kDataValueLimit, ParseDataInt("-99999999999999999999999999"));

    TempFolder folder;
    Component odd;
    ASSERT_TRUE(LoadComponent(folder.write("Odd.xml", R"(<component model="x">
        <name>x</name><type>TAIL</type>
        <points head="70000" tail="-70000" weapon="1e9"/>
        <stats body="123456789012345" defense="ten" moveRatio=" 4 "/>
        <weaponStats damage="-99999999999" timeCost="3.9"/>
    </component>)"),
                              odd));
    EXPECT_EQ(0, odd.modelSlot);
    EXPECT_EQ(32767, odd.headPoints);
    EXPECT_EQ(-32768, odd.tailPoints);
    EXPECT_EQ(1, odd.weaponPoints);
    EXPECT_EQ(kDataValueLimit, odd.body);
    EXPECT_EQ(0, odd.defense);
    EXPECT_EQ(4, odd.moveRatio);
    EXPECT_EQ(-kDataValueLimit, odd.damage);
    EXPECT_EQ(3, odd.timeCost);
}

TEST(Component, CloneCopiesTheWholeTree) {
    Component core;
    core.name = "Core";
    core.body = 5;
    core.children.push_back(std::make_unique<Component>());
    core.children.back()->name = "Child";
    const std::unique_ptr<Component> copy = CloneComponent(core);
    ASSERT_EQ(1u, copy->children.size());
    EXPECT_NE(core.children[0].get(), copy->children[0].get());
    EXPECT_EQ("Child", copy->children[0]->name);
    EXPECT_EQ(5, copy->body);
}

TEST(Component, AModuleHandsItsPickColourBackOnceAndACopyTakesNone) {
    std::vector<uint32_t> handedBack;
    PickColourReleaser previous =
        SetPickColourReleaser([&handedBack](uint32_t colour) { handedBack.push_back(colour); });
    {
        auto core = std::make_unique<Component>();
        core->pickColour = 12003004;
        auto child = std::make_unique<Component>();
        child->pickColour = 5;
        core->children.push_back(std::move(child));
        std::unique_ptr<Component> copy = CloneComponent(*core);
        EXPECT_EQ(copy->pickColour, 0u);
        EXPECT_EQ(copy->children.at(0)->pickColour, 0u);
        copy.reset();
        EXPECT_TRUE(handedBack.empty()) << "the copy had no colour to hand back";
        Component uncoloured;
    }
    EXPECT_EQ(handedBack, (std::vector<uint32_t>{12003004, 5}));
    SetPickColourReleaser(previous);
}
