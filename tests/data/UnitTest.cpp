#include "data/Unit.h"
#include "platform/Dialog.h"

#include "data/TempFiles.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// A folder of small module files and a way to write units that use them.
class UnitFiles {
public:
    UnitFiles() {
        core_ = folder_.write("Core.xml", R"(<component model="1"><name>Test_Core</name><type>CORE</type>
            <points head="1" tail="1" weapon="2"/>
            <stats body="100" moveDist="5" moveRatio="10" defense="30" accuracy="1"/></component>)");
        gun_ = folder_.write("Gun.xml", R"(<component><name>Gun_Weapon</name><type>WEAPON</type>
            <points weapon="1"/><stats body="10" accuracy="80"/>
            <weaponStats damage="12" maxRange="6" minRange="1" AoE="1" timeCost="25" reload="4" shots="3"/></component>)");
        cannon_ = folder_.write("Cannon.xml", R"(<component><name>Cannon_Weapon</name><type>WEAPON</type>
            <points weapon="1"/><stats body="20" accuracy="60"/>
            <weaponStats damage="30" maxRange="4" minRange="2" AoE="2" timeCost="40" reload="7" shots="1"/></component>)");
        head_ = folder_.write("Head.xml", R"(<component><name>Scope_Head</name><type>HEAD</type>
            <points head="1"/><stats body="5" moveDist="-1" defense="4"/>
            <weaponStats damage="2" maxRange="2" timeCost="5"/></component>)");
        tail_ = folder_.write("Tail.xml", R"(<component><name>Jet_Tail</name><type>TAIL</type>
            <points tail="1"/><stats moveRatio="-3" defense="-5"/></component>)");
    }

    // Writes a unit file naming the given module elements and returns its path.
    std::string unit(const std::string& modules, const std::string& root = "unit tex=\"3\"") {
        return folder_.write("Unit" + std::to_string(count_++) + ".xml",
                             "<" + root + "><name>Tester</name>" + modules + "</" +
                                 root.substr(0, root.find(' ')) + ">");
    }
    std::string module(const std::string& element, const std::string& path) {
        return "<" + element + ">" + path + "</" + element + ">";
    }
    // Writes a module file and returns its path.
    std::string write(const std::string& name, const std::string& content) {
        return folder_.write(name, content);
    }

    std::string core_, gun_, cannon_, head_, tail_;

private:
    TempFolder folder_;
    int count_ = 0;
};

} // namespace

TEST(Unit, WeaponIsTheFirstFlaggedChildAndTakesTheOthersModifiers) {
    UnitFiles files;
    DialogRecorder recorder;
    Unit unit;
    const std::string path =
        files.unit(files.module("core", files.core_) + files.module("weapon", files.gun_) +
                   files.module("weapon", files.cannon_) + files.module("head", files.head_) +
                   files.module("tail", files.tail_));
    ASSERT_TRUE(LoadUnit(path, unit));
    EXPECT_TRUE(recorder.shown().empty());
    EXPECT_EQ("Tester", unit.name);
    EXPECT_EQ(3, unit.skin);
    ASSERT_NE(nullptr, unit.core);
    // Heads first, then tails, then weapons, each in document order.
    ASSERT_EQ(4u, unit.core->children.size());
    EXPECT_EQ("Scope_Head", unit.core->children[0]->name);
    EXPECT_EQ("Jet_Tail", unit.core->children[1]->name);
    EXPECT_EQ("Gun_Weapon", unit.core->children[2]->name);
    ASSERT_EQ(unit.core->children[2].get(), unit.weapon);

    const Component& gun = *unit.weapon;
    EXPECT_EQ(12 + 2 + 30, gun.damage);
    EXPECT_EQ(6 + 2 + 4, gun.maxRange);
    EXPECT_EQ(1 + 2, gun.minRange);
    EXPECT_EQ(1 + 2, gun.AoE);
    EXPECT_EQ(25 + 5 + 40, gun.timeCost);
    EXPECT_EQ(3 + 1, gun.shots);
    EXPECT_EQ(4, gun.reload) << "reload is not summed";
    EXPECT_EQ(80, gun.accuracy) << "the weapon keeps its own accuracy";

    EXPECT_EQ(100 + 5 + 10 + 20, unit.hp);
    EXPECT_EQ(unit.hp, unit.fullHp);
    EXPECT_EQ(5 - 1, unit.moveDist);
    EXPECT_EQ(10 - 3, unit.moveRatio);
    EXPECT_EQ(30 + 4 - 5, unit.defense);
    EXPECT_EQ(1 + 80 + 60, unit.accuracy);
    EXPECT_EQ("Test_Core", unit.coreName);
    EXPECT_EQ(CORE, unit.type);
    EXPECT_EQ(2, unit.weaponPoints);

    // Recomputing again reloads core and weapon first, so nothing is added twice.
    unit.hp = 1;
    RecomputeStats(unit);
    EXPECT_EQ(135, unit.hp);
    EXPECT_EQ(44, unit.weapon->damage);
    EXPECT_EQ(70, unit.weapon->timeCost);
    RecomputeStats(unit);
    EXPECT_EQ(44, unit.weapon->damage);
    EXPECT_EQ(7, unit.moveRatio);
}

TEST(Unit, ExtraModulesBeyondThePointsAreIgnored) {
    UnitFiles files;
    Unit unit;
    ASSERT_TRUE(LoadUnit(files.unit(files.module("core", files.core_) + files.module("head", files.head_) +
                                    files.module("head", files.head_) + files.module("tail", files.tail_) +
                                    files.module("tail", files.tail_)),
                         unit));
    ASSERT_NE(nullptr, unit.core);
    EXPECT_EQ(2u, unit.core->children.size());
    EXPECT_EQ(nullptr, unit.weapon);
    EXPECT_EQ(100 + 5, unit.hp);
}

TEST(Unit, HeadWithOneWeaponPointAttachedFirstBecomesTheWeapon) {
    UnitFiles files;
    const std::string gunHead =
        files.write("GunHead.xml", R"(<component><name>Gun_Head</name><type>HEAD</type>
        <points weapon="1"/><weaponStats damage="7" maxRange="3" timeCost="10" shots="2"/></component>)");
    Unit unit;
    ASSERT_TRUE(LoadUnit(files.unit(files.module("core", files.core_) + files.module("weapon", files.gun_) +
                                    files.module("head", gunHead)),
                         unit));
    ASSERT_NE(nullptr, unit.weapon);
    EXPECT_EQ("Gun_Head", unit.weapon->name);
    EXPECT_EQ(7 + 12, unit.weapon->damage);
    EXPECT_EQ(10 + 25, unit.weapon->timeCost);
}

TEST(Unit, WeaponAndMoveRatioAreClamped) {
    UnitFiles files;
    // Modifiers that push minRange past maxRange, and everything else below its floor.
    const std::string spoiler =
        files.write("Spoiler.xml", R"(<component><name>Spoiler_Head</name><type>HEAD</type>
        <points head="1"/><stats moveRatio="-10"/>
        <weaponStats damage="-50" maxRange="-1" minRange="9" AoE="-5" timeCost="-90" shots="-3"/></component>)");
    Unit unit;
    ASSERT_TRUE(LoadUnit(files.unit(files.module("core", files.core_) + files.module("head", spoiler) +
                                    files.module("weapon", files.gun_)),
                         unit));
    ASSERT_NE(nullptr, unit.weapon);
    EXPECT_EQ(1, unit.weapon->damage);
    EXPECT_EQ(5, unit.weapon->maxRange);
    EXPECT_EQ(4, unit.weapon->minRange) << "minRange is pushed to maxRange - 1";
    EXPECT_EQ(0, unit.weapon->AoE);
    EXPECT_EQ(0, unit.weapon->timeCost);
    EXPECT_EQ(1, unit.weapon->shots);
    EXPECT_EQ(1, unit.moveRatio) << "10 - 10 = 0 becomes 1";

    // maxRange 0 becomes 1 and then minRange 0.
    const std::string zero = files.write("Zero.xml", R"(<component><name>Zero_Weapon</name><type>WEAPON</type>
        <points weapon="1"/><weaponStats maxRange="0" minRange="0"/></component>)");
    Unit bare;
    ASSERT_TRUE(LoadUnit(files.unit(files.module("core", files.core_) + files.module("weapon", zero)), bare));
    ASSERT_NE(nullptr, bare.weapon);
    EXPECT_EQ(1, bare.weapon->maxRange);
    EXPECT_EQ(0, bare.weapon->minRange);
    EXPECT_EQ(1, bare.weapon->damage);

    // moveRatio -3 gives 1, 25 gives 20, 19 stays.
    for (auto [ratio, expected] : {std::pair{-13, 1}, {15, 20}, {9, 19}}) {
        const std::string mover =
            files.write("Mover" + std::to_string(ratio) + ".xml",
                        "<component><name>Mover_Tail</name><type>TAIL</type><points tail=\"1\"/>"
                        "<stats moveRatio=\"" +
                            std::to_string(ratio) + "\"/></component>");
        Unit moved;
        ASSERT_TRUE(
            LoadUnit(files.unit(files.module("core", files.core_) + files.module("tail", mover)), moved));
        EXPECT_EQ(expected, moved.moveRatio) << "10 + " << ratio;
    }
}

TEST(Unit, HugeReachesAndShotsAreHeldToWhatTheGridAndATurnCanUse) {
    UnitFiles files;
    const std::string huge = files.write("Huge.xml", R"(<component><name>Huge_Weapon</name><type>WEAPON</type>
        <points weapon="1"/><stats moveDist="1000000"/>
        <weaponStats damage="1000000" maxRange="1000000" minRange="1000000" AoE="1000000" shots="1000000"/></component>)");
    // A head adds the most a file can hold on top: the sums saturate, then the clamps apply.
    const std::string more = files.write("More.xml", R"(<component><name>More_Head</name><type>HEAD</type>
        <points head="1"/><stats moveDist="99999999999"/>
        <weaponStats maxRange="2147483647" shots="99999999999" AoE="1000000"/></component>)");
    Unit unit;
    ASSERT_TRUE(LoadUnit(files.unit(files.module("core", files.core_) + files.module("head", more) +
                                    files.module("weapon", huge)),
                         unit));
    ASSERT_NE(nullptr, unit.weapon);
    EXPECT_EQ(kMaxTileReach, unit.weapon->maxRange);
    EXPECT_EQ(kMaxTileReach - 1, unit.weapon->minRange);
    EXPECT_EQ(kMaxTileReach, unit.weapon->AoE);
    EXPECT_EQ(kMaxShots, unit.weapon->shots);
    EXPECT_EQ(kMaxTileReach, unit.moveDist);
    EXPECT_GT(unit.weapon->damage, 0) << "damage is not a reach: it keeps its (saturated) value";
}

TEST(Unit, BadUnitFilesShowTheirBoxAndLeaveTheUnitUsable) {
    UnitFiles files;
    DialogRecorder recorder;
    Unit unit;
    ASSERT_TRUE(
        LoadUnit(files.unit(files.module("core", files.core_) + files.module("weapon", files.gun_)), unit));
    const Component* core = unit.core.get();

    EXPECT_FALSE(LoadUnit(files.write("Broken.xml", "<unit><name>x</name"), unit));
    EXPECT_EQ(DialogKind::Error, recorder.shown().back().kind);
    EXPECT_FALSE(LoadUnit(files.unit("", "mech"), unit));
    EXPECT_TRUE(recorder.sawText("Missing \"unit\" Tag"));
    EXPECT_FALSE(LoadUnit(files.write("NoName.xml", "<unit><core>x</core></unit>"), unit));
    EXPECT_TRUE(recorder.sawText("Missing \"name\" Tag"));
    EXPECT_EQ(core, unit.core.get()) << "a failed load keeps the modules";
    EXPECT_EQ("Tester", unit.name);
    ASSERT_NE(nullptr, unit.weapon);

    // A missing core file: the box names it and the unit keeps what it had (here, nothing).
    recorder.clear();
    Unit fresh;
    const std::string missingCore = "Nowhere\\Core.xml";
    EXPECT_FALSE(LoadUnit(files.unit(files.module("core", missingCore)), fresh));
    EXPECT_TRUE(recorder.sawText("Could not open file for reading: " + missingCore));
    EXPECT_EQ(nullptr, fresh.core);
    RecomputeStats(fresh);
    EXPECT_EQ(nullptr, fresh.weapon);

    // A missing module file is left off; the rest of the unit loads.
    recorder.clear();
    Unit partial;
    EXPECT_TRUE(
        LoadUnit(files.unit(files.module("core", files.core_) + files.module("weapon", "Nowhere\\Gun.xml") +
                            files.module("head", files.head_)),
                 partial));
    EXPECT_EQ(1, recorder.count(DialogKind::Error));
    ASSERT_NE(nullptr, partial.core);
    EXPECT_EQ(1u, partial.core->children.size());
    EXPECT_EQ(nullptr, partial.weapon);

    // No core element: silently a unit without core.
    recorder.clear();
    Unit coreless;
    EXPECT_TRUE(LoadUnit(files.unit(files.module("weapon", files.gun_)), coreless));
    EXPECT_TRUE(recorder.shown().empty());
    EXPECT_EQ(nullptr, coreless.core);
    EXPECT_EQ("Tester", coreless.name);

    // A skin outside the table falls back to the player's.
    Unit skinned;
    ASSERT_TRUE(LoadUnit(files.unit(files.module("core", files.core_), "unit tex=\"99\""), skinned));
    EXPECT_EQ(0, skinned.skin);
}

TEST(Unit, AbortOnAMissingTagEndsTheProcess) {
    UnitFiles files;
    const std::string path = files.write("Wrong.xml", "<mech/>");
    EXPECT_EXIT(
        {
            DialogRecorder recorder(DialogAnswer::Abort);
            Unit unit;
            LoadUnit(path, unit);
        },
        ::testing::ExitedWithCode(255), "");
}

TEST(Unit, CoreVisualHookSeesTheSkin) {
    UnitFiles files;
    std::vector<std::pair<std::string, int>> seen;
    CoreVisualHook previous = SetCoreVisualHook([&](Component& core, int32_t skin) {
        seen.emplace_back(core.name, skin);
        core.pickColour = 1000007;
    });
    Unit unit;
    ASSERT_TRUE(LoadUnit(files.unit(files.module("core", files.core_), "unit tex=\"11\""), unit));
    SetCoreVisualHook(previous);
    ASSERT_EQ(1u, seen.size());
    EXPECT_EQ("Test_Core", seen[0].first);
    EXPECT_EQ(11, seen[0].second);
    EXPECT_EQ(1000007u, unit.core->pickColour);
    EXPECT_EQ(0.0f, unit.heightOffset);
}

TEST(Unit, CloneOwnsItsModulesAndPointsAtItsOwnWeapon) {
    UnitFiles files;
    Unit unit;
    ASSERT_TRUE(LoadUnit(files.unit(files.module("core", files.core_) + files.module("head", files.head_) +
                                    files.module("weapon", files.gun_)),
                         unit));
    unit.hp = 17;
    unit.owner.player = 2;
    const std::unique_ptr<Unit> copy = CloneUnit(unit);
    ASSERT_NE(nullptr, copy->core);
    EXPECT_NE(unit.core.get(), copy->core.get());
    ASSERT_NE(nullptr, copy->weapon);
    EXPECT_EQ(copy->core->children[1].get(), copy->weapon);
    EXPECT_EQ(unit.weapon->damage, copy->weapon->damage);
    EXPECT_EQ(17, copy->hp);
    EXPECT_EQ(2, copy->owner.player);
    unit.core.reset();
    EXPECT_EQ("Gun_Weapon", copy->weapon->name);
}

TEST(Unit, FacingCodesAndPlacement) {
    const float d = std::sqrt(0.5f);
    const Vector3 expected[8] = {{1, 0, 0},  {d, 0, d},   {0, 0, 1},  {-d, 0, d},
                                 {-1, 0, 0}, {-d, 0, -d}, {0, 0, -1}, {d, 0, -d}};
    for (int code = 1; code <= 8; ++code) {
        const Vector3 direction = OrientationDirection(code);
        EXPECT_NEAR(expected[code - 1].x, direction.x, 1e-6f) << "code " << code;
        EXPECT_EQ(0.0f, direction.y);
        EXPECT_NEAR(expected[code - 1].z, direction.z, 1e-6f) << "code " << code;
    }
    EXPECT_EQ((Vector3{}), OrientationDirection(0));
    EXPECT_EQ((Vector3{}), OrientationDirection(9));
    EXPECT_EQ((Vector3{}), OrientationDirection(-1));

    Unit unit;
    PlaceOnTile(unit, 3, 5, 2);
    EXPECT_EQ(3, unit.tileX);
    EXPECT_EQ(5, unit.tileY);
    EXPECT_EQ((Vector3{12, 0, 20}), UnitWorldPosition(unit)) << "no core: the tile at ground level";
    unit.core = std::make_unique<Component>();
    unit.heightOffset = 0.25f;
    PlaceOnTile(unit, 3, 5, 2);
    EXPECT_EQ((Vector3{12, 1.25f, 20}), unit.core->transform.position);
    EXPECT_EQ((Vector3{12, 1.25f, 20}), UnitWorldPosition(unit));

    Unit other;
    other.tileX = 3;
    other.tileY = 5;
    std::vector<Unit*> units{nullptr, &unit, &other};
    EXPECT_EQ(&unit, FindUnitOnTile(units, 3, 5));
    EXPECT_EQ(nullptr, FindUnitOnTile(units, 0, 0));
}
