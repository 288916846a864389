#include "data/Component.h"

#include "data/TempFiles.h"

#include <gtest/gtest.h>

TEST(PartTable, NumbersNamesAndKindsAgree) {
    EXPECT_EQ("Ant Core", PartDisplayName(0));
    EXPECT_EQ("Wolf Core", PartDisplayName(5));
    EXPECT_EQ("Ant Head", PartDisplayName(6));
    EXPECT_EQ("Blaster", PartDisplayName(14));
    EXPECT_EQ("Forcefield", PartDisplayName(16));
    EXPECT_EQ("Double Cannon AA", PartDisplayName(18));
    EXPECT_EQ("Tri Laser Red", PartDisplayName(26));
    EXPECT_EQ("", PartDisplayName(27));
    EXPECT_EQ("", PartDisplayName(-1));

    for (int n = 0; n < kPartCount; ++n) {
        const PartKind kind = PartKindOf(n);
        EXPECT_EQ(n, PartNumber(kind.category, kind.index)) << "part number " << n;
    }
    EXPECT_EQ(-1, PartKindOf(27).category);
    EXPECT_EQ(-1, PartNumber(2, 8));
    EXPECT_EQ(-1, PartNumber(5, 0));
    EXPECT_EQ(-1, PartNumber(1, -1));
    EXPECT_EQ(18, PartOffsetOf(WEAPON));
    EXPECT_EQ(4, PartCountOf(TAIL));
}

TEST(PartTable, SortedModuleFilesSkipSubFoldersAndStrayFiles) {
    TempFolder folder;
    // Written out of order, across the four folders, with things that are not component files.
    folder.write("XMLFiles/Mecha/Modules/Weapons/B.xml", "<component/>");
    folder.write("XMLFiles/Mecha/Modules/Weapons/A.xml", "<component/>");
    folder.write("XMLFiles/Mecha/Modules/Cores/Zed.xml", "<component/>");
    folder.write("XMLFiles/Mecha/Modules/Cores/Abe.xml", "<component/>");
    folder.write("XMLFiles/Mecha/Modules/Cores/notes.txt", "not a module");
    folder.write("XMLFiles/Mecha/Modules/Cores/Backup/Old.xml", "<component/>");
    folder.write("XMLFiles/Mecha/Modules/Heads/Head.XML", "<component/>");
    folder.write("XMLFiles/Mecha/Modules/Tails/Tail.xml~", "editor backup");

    std::vector<std::string> files;
    {
        WorkingDirectory here(folder.path());
        ListModuleFiles(files);
    }
    const std::vector<std::string> expected{
        "XMLFiles\\Mecha\\Modules\\Cores\\Abe.xml", "XMLFiles\\Mecha\\Modules\\Cores\\Zed.xml",
        "XMLFiles\\Mecha\\Modules\\Heads\\Head.XML", "XMLFiles\\Mecha\\Modules\\Weapons\\A.xml",
        "XMLFiles\\Mecha\\Modules\\Weapons\\B.xml"};
    EXPECT_EQ(expected, files);
    EXPECT_EQ(expected[1], PartFile(files, 1));
    EXPECT_EQ("", PartFile(files, 5));
    EXPECT_EQ("", PartFile(files, -1));
}

TEST(PartTable, NameRulesOfTheBuildScreen) {
    EXPECT_EQ("Wolf", NamePrefix("Wolf_Core"));
    EXPECT_EQ("Engine Optimizer", NamePrefix("Engine Optimizer_Tail"));
    EXPECT_EQ("NoMark", NamePrefix("NoMark"));
    EXPECT_EQ("", NamePrefix("_Head"));

    EXPECT_EQ(1, PartIndexFromName(HEAD, "Assault_Head"));
    EXPECT_EQ(7, PartIndexFromName(HEAD, "Wolf_Head"));
    EXPECT_EQ(0, PartIndexFromName(HEAD, "Rat Ant_Head")) << "the first word of the list wins";
    EXPECT_EQ(7, PartIndexFromName(HEAD, "Giant_Head")) << "case-sensitive";
    EXPECT_EQ(2, PartIndexFromName(TAIL, "Shield_FFGenerator_Tail"));
    EXPECT_EQ(3, PartIndexFromName(TAIL, "Anything_Tail"));
    EXPECT_EQ(0, PartIndexFromName(WEAPON, "Double Cannon AA_Weapon"));
    EXPECT_EQ(8, PartIndexFromName(WEAPON, "Tri Laser Red_Weapon"));
    EXPECT_EQ(5, PartIndexFromName(CORE, "Wolf_Core"));
    EXPECT_EQ(-1, PartIndexFromName(0, "Ant"));
    EXPECT_EQ("Head", CategoryWord(HEAD));
    EXPECT_EQ("", CategoryWord(CORE));
}
