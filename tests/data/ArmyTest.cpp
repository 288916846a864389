#include "data/Army.h"
#include "platform/Dialog.h"

#include <gtest/gtest.h>

#include <limits>

TEST(Inventory, DefaultHoldsTwoOfEveryPartKind) {
    DialogRecorder recorder;
    const Inventory inventory = Inventory::Default();
    for (int n = 0; n < kPartCount; ++n) {
        const PartKind kind = PartKindOf(n);
        EXPECT_EQ(2, inventory.CountOf(kind.category, kind.index)) << PartDisplayName(n);
    }
    EXPECT_EQ(-1, inventory.CountOf(CORE, 6)) << "one past the last core";
    EXPECT_EQ(-1, inventory.CountOf(WEAPON, 9));
    EXPECT_EQ(-1, inventory.CountOf(HEAD, -1));
    EXPECT_TRUE(recorder.shown().empty());
    ASSERT_EQ(4u, inventory.categories().size());
    EXPECT_EQ(8u, inventory.categories().at(HEAD).size());
}

TEST(Inventory, CountsStayBetweenZeroAndNinetyNine) {
    DialogRecorder recorder;
    Inventory inventory = Inventory::Default();
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(inventory.RemovePart(TAIL, 2)) << "removal " << i;
    }
    EXPECT_EQ(0, inventory.CountOf(TAIL, 2)) << "0 stays 0";
    for (int i = 0; i < 120; ++i) {
        EXPECT_TRUE(inventory.AddPart(WEAPON, 8));
    }
    EXPECT_EQ(99, inventory.CountOf(WEAPON, 8)) << "99 stays 99";
    EXPECT_EQ(2, inventory.CountOf(WEAPON, 7)) << "neighbours untouched";

    EXPECT_FALSE(inventory.AddPart(HEAD, 8));
    EXPECT_FALSE(inventory.RemovePart(HEAD, 8));
    EXPECT_FALSE(inventory.AddPart(7, 0));
    EXPECT_FALSE(inventory.RemovePart(-1, -1)) << "an empty equip record matches nothing";
    EXPECT_EQ(-1, inventory.CountOf(HEAD, 8));
    EXPECT_TRUE(recorder.shown().empty());

    // An unknown category asks first, and Ignore goes on with -1.
    EXPECT_EQ(-1, inventory.CountOf(9, 0));
    EXPECT_TRUE(recorder.sawText("Part doesn't exist in the inventory."));
    EXPECT_EQ(1, recorder.count(DialogKind::Assertion));
    EXPECT_EQ(-1, Inventory{}.CountOf(CORE, 0));
    EXPECT_EQ(2, recorder.count(DialogKind::Assertion));

    Inventory built;
    built.AddEntry(CORE, 3, 500);
    EXPECT_EQ(99, built.CountOf(CORE, 3));
}

TEST(Campaign, StartsWithTheGoldPlayerSixEmptySlotsAndEvenStandings) {
    Campaign campaign;
    EXPECT_EQ("Vantor Gold", campaign.player.name);
    EXPECT_EQ(&campaign.army(), campaign.player.army);
    ASSERT_EQ(size_t(kSquadSize), campaign.army().squad.size());
    for (const auto& unit : campaign.army().squad) {
        ASSERT_NE(nullptr, unit);
        EXPECT_EQ(nullptr, unit->core);
        EXPECT_EQ("MECH_NAME", unit->name);
    }
    EXPECT_EQ(2, campaign.army().inventory.CountOf(WEAPON, 0));
    for (int32_t standing : campaign.standings) {
        EXPECT_EQ(50, standing);
    }

    campaign.army().inventory.RemovePart(CORE, 0);
    campaign.RecreateArmy();
    EXPECT_EQ(&campaign.army(), campaign.player.army);
    EXPECT_EQ(2, campaign.army().inventory.CountOf(CORE, 0));
    EXPECT_NE(nullptr, campaign.army().squad[0].get());

    campaign.ChangeStanding(0, 70);
    EXPECT_EQ(100, campaign.standings[0]);
    campaign.ChangeStanding(1, -51);
    EXPECT_EQ(0, campaign.standings[1]);
    campaign.ChangeStanding(2, -5);
    EXPECT_EQ(45, campaign.standings[2]);
    campaign.ChangeStanding(3, 10);
    campaign.ChangeStanding(2, std::numeric_limits<int32_t>::min());
    EXPECT_EQ(0, campaign.standings[2]);
}
