#include "hud/HudLayout.h"
#include "data/TempFiles.h"
#include "hud/MessageReciever.h"
#include "platform/Dialog.h"
#include "platform/SaveFaults.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Collects every key-pressed and HUD message sent through its dispatcher.
class Collector final : public MessageReciever {
public:
    explicit Collector(MessageDispatcher& dispatcher) : MessageReciever(dispatcher) {
        Subscribe(KeyPressed);
        Subscribe(HudMessage);
    }
    ~Collector() = default;
    void ProcessMessages() override {
        DrainInbox([this](const Message& m) { seen.push_back(m); });
    }
    std::vector<Message> seen;
};

// A layout wired to a test dispatcher, its own registry and recording hooks.
struct LayoutFixture {
    LayoutFixture() {
        layout.SetDispatcher(&dispatcher);
        layout.SetPickColours(&registry);
        layout.hooks().makePickTexture = [this](const std::string& image, int32_t colour) {
            EXPECT_EQ(image, PickSilhouetteImage);
            return static_cast<int32_t>(1000 + colour % 1000);
        };
        layout.hooks().releasePickTexture = [this](int32_t texture) { released.push_back(texture); };
        layout.hooks().playHoverSound = [this] { ++hoverSounds; };
        layout.hooks().changeState = [this](int32_t state) { states.push_back(state); };
    }
    TempFolder folder;
    MessageDispatcher dispatcher;
    PickColourRegistry registry;
    HudLayout layout;
    std::vector<int32_t> released;
    std::vector<int32_t> states;
    int hoverSounds = 0;
};

const char* const SampleLayout = R"(<?xml version="1.0"?>
<hud>
    <button xPos="290" yPos=" 250px" xSize="220" ySize="46" function="4" data="-3" tex="2" MOtex="56" PItex="77">
        <text x="12" y="30" r="255" g="128" b="1">Start</text>
    </button>
    <button/>
    <button xPos="-5" function="9"><text x="1"/></button>
    <ignored xPos="1"/>
</hud>
)";

TEST(HudLayout, LoadsEveryFieldAndSavesTheSameLayoutBack) {
    LayoutFixture f;
    const std::string path = f.folder.write("menu.xml", SampleLayout);
    ASSERT_TRUE(f.layout.LoadHud(path));
    ASSERT_EQ(f.layout.buttons().size(), 3u);
    const HudButton& first = f.layout.buttons()[0];
    EXPECT_EQ(first.xPos, 290u);
    EXPECT_EQ(first.yPos, 250u);
    EXPECT_EQ(first.xSize, 220u);
    EXPECT_EQ(first.ySize, 46u);
    EXPECT_EQ(first.function, 4);
    EXPECT_EQ(first.data, -3);
    EXPECT_EQ(first.tex, 2u);
    EXPECT_EQ(first.MOtex, 56u);
    EXPECT_EQ(first.text, "Start");
    EXPECT_EQ(first.textX, 12u);
    EXPECT_EQ(first.textY, 30u);
    EXPECT_EQ(first.r, 255u);
    EXPECT_EQ(first.g, 128u);
    EXPECT_EQ(first.b, 1u);
    // PItex is not read: the silhouette is made for the new colour.
    EXPECT_EQ(first.pickTexture, static_cast<int32_t>(1000 + first.pickColour % 1000));
    // A bare button reads every attribute as 0, the size too.
    const HudButton& bare = f.layout.buttons()[1];
    EXPECT_EQ(bare.xSize, 0u);
    EXPECT_EQ(bare.ySize, 0u);
    EXPECT_TRUE(bare.text.empty());
    EXPECT_EQ(f.layout.buttons()[2].text, "");
    EXPECT_EQ(f.layout.fileName(), path);

    // Saving and loading again gives the same fields; buttons without a label get no text element.
    ASSERT_TRUE(f.layout.SaveHud());
    const std::string saved = ReadAll(path);
    EXPECT_EQ(saved.rfind("<?xml version=\"1.0\"?>", 0), 0u) << saved;
    EXPECT_NE(saved.find(
                  "<button xPos=\"0\" yPos=\"0\" xSize=\"0\" ySize=\"0\" function=\"0\" data=\"0\" tex=\"0\" "
                  "MOtex=\"0\" PItex=\""),
              std::string::npos)
        << saved;
    EXPECT_NE(saved.find("<text x=\"12\" y=\"30\" r=\"255\" g=\"128\" b=\"1\">Start</text>"),
              std::string::npos);
    EXPECT_EQ(saved.find("<text x=\"1\""), std::string::npos);
    EXPECT_EQ(saved.find("ignored"), std::string::npos);

    HudLayout again;
    ASSERT_TRUE(again.LoadHud(path));
    ASSERT_EQ(again.buttons().size(), 3u);
    EXPECT_EQ(again.buttons()[0].text, "Start");
    EXPECT_EQ(again.buttons()[0].data, -3);
    EXPECT_EQ(again.buttons()[2].xPos, f.layout.buttons()[2].xPos);
    EXPECT_EQ(again.buttons()[2].function, 9);
}

TEST(HudLayout, BadFilesKeepTheOldButtonsAndName) {
    LayoutFixture f;
    const std::string good = f.folder.write("menu.xml", SampleLayout);
    ASSERT_TRUE(f.layout.LoadHud(good));
    const uint32_t colour = f.layout.buttons()[0].pickColour;

    DialogRecorder rec;
    const std::string missing = f.folder.file("nothing.xml");
    EXPECT_FALSE(f.layout.LoadHud(missing));
    EXPECT_TRUE(rec.sawText("Could not open file for reading: " + missing));

    const std::string broken = f.folder.write("broken.xml", "<hud><button xPos=\"1\"></hud");
    EXPECT_FALSE(f.layout.LoadHud(broken));
    EXPECT_TRUE(rec.sawText("Could not open file for reading: " + broken));

    const std::string wrongRoot = f.folder.write("wrong.xml", "<?xml version=\"1.0\"?><mapdata/>");
    EXPECT_FALSE(f.layout.LoadHud(wrongRoot));
    EXPECT_EQ(rec.count(DialogKind::Assertion), 1);
    EXPECT_TRUE(rec.sawText("Missing \"hud\" Tag"));

    // The old buttons stay usable and a later save still writes to the file they came from.
    ASSERT_EQ(f.layout.buttons().size(), 3u);
    EXPECT_EQ(f.layout.buttons()[0].pickColour, colour);
    EXPECT_EQ(f.layout.fileName(), good);
    EXPECT_TRUE(f.released.empty());
    EXPECT_EQ(ReadAll(wrongRoot), "<?xml version=\"1.0\"?><mapdata/>");
}

TEST(HudLayout, AFailedSaveLeavesTheOldFileWholeAndSaysTheSaveFailed) {
    LayoutFixture f;
    const std::string path = f.folder.write("menu.xml", SampleLayout);
    ASSERT_TRUE(f.layout.LoadHud(path));
    f.layout.buttons().clear();
    const std::string saveFailed = "Could not save " + path + ": ";
    for (SaveFault fault : kEverySaveFault) {
        const FaultedSave outcome =
            SaveUnderFault(fault, f.folder.path().string(), [&] { return f.layout.SaveHud(); });
        EXPECT_FALSE(outcome.saved) << SaveFaultName(fault);
        EXPECT_EQ(ReadAll(path), SampleLayout) << SaveFaultName(fault);
        if (fault != SaveFault::KilledBeforeReplace) {
            EXPECT_EQ(outcome.boxes.rfind(saveFailed, 0), 0u)
                << SaveFaultName(fault) << ": " << outcome.boxes;
        }
    }
    // The temporary file cannot be created where a folder stands in its way.
    std::filesystem::remove(path + ".saving");
    std::filesystem::create_directories(path + ".saving");
    DialogRecorder rec;
    EXPECT_FALSE(f.layout.SaveHud());
    ASSERT_EQ(rec.shown().size(), 1u);
    EXPECT_EQ(rec.shown()[0].caption, "Error");
    EXPECT_EQ(rec.shown()[0].text.rfind(saveFailed, 0), 0u) << rec.shown()[0].text;
    EXPECT_EQ(ReadAll(path), SampleLayout);

    // A layout without a file name cannot be saved either.
    HudLayout unnamed;
    EXPECT_FALSE(unnamed.SaveHud());
    EXPECT_EQ(rec.count(DialogKind::Error), 2);
}

TEST(HudLayout, EveryLoadTakesNewColoursAndHandsBackTheOldColoursAndSilhouettes) {
    LayoutFixture f;
    const std::string path = f.folder.write("menu.xml", SampleLayout);
    ASSERT_TRUE(f.layout.LoadHud(path));
    std::vector<uint32_t> before;
    std::vector<int32_t> textures;
    for (const HudButton& b : f.layout.buttons()) {
        before.push_back(b.pickColour);
        textures.push_back(b.pickTexture);
    }
    ASSERT_TRUE(f.layout.LoadHud());
    EXPECT_EQ(f.released, textures);
    EXPECT_EQ(f.registry.size(), 3u) << "the first load's colours were handed back";
    for (uint32_t colour : before) {
        EXPECT_FALSE(f.registry.Contains(int32_t(colour)));
    }
    for (const HudButton& b : f.layout.buttons()) {
        EXPECT_NE(b.pickColour, 0u);
        EXPECT_EQ(std::count(before.begin(), before.end(), b.pickColour), 0);
        EXPECT_FALSE(b.mouseOver);
    }
    EXPECT_EQ(f.layout.FindByPickColour(static_cast<int32_t>(before[0])), nullptr);
    EXPECT_EQ(f.layout.FindByPickColour(0), nullptr);
    for (int i = 0; i < 50; ++i) {
        ASSERT_TRUE(f.layout.LoadHud());
    }
    EXPECT_EQ(f.registry.size(), 3u) << "reloading keeps the count of colours in use flat";

    // Appended buttons (world-map markers) get colours and silhouettes too and are found by them.
    HudButton marker;
    marker.tex = 17;
    const int32_t id = f.layout.AddButton(marker);
    const HudButton* added = f.layout.FindById(id);
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(f.layout.FindByPickColour(static_cast<int32_t>(added->pickColour)), added);
    EXPECT_NE(added->pickTexture, 0);
    // The same marker appended again is a button of its own.
    const int32_t again = f.layout.AddButton(marker);
    EXPECT_NE(again, id);
    EXPECT_NE(f.layout.FindById(again)->pickColour, f.layout.FindById(id)->pickColour);

    // A button taken out (the menu's CONTINUE without a save) hands back its colour and silhouette.
    const size_t inUse = f.registry.size();
    const uint32_t colour = f.layout.FindById(again)->pickColour;
    const int32_t silhouette = f.layout.FindById(again)->pickTexture;
    EXPECT_TRUE(f.layout.RemoveButton(again));
    EXPECT_EQ(f.layout.FindById(again), nullptr);
    EXPECT_FALSE(f.registry.Contains(int32_t(colour)));
    EXPECT_EQ(f.registry.size(), inUse - 1);
    EXPECT_EQ(f.released.back(), silhouette);
    EXPECT_FALSE(f.layout.RemoveButton(again)) << "only once";
}

TEST(HudLayout, ClicksSendMessagesChangeStateAndLeaveThePause) {
    LayoutFixture f;
    Collector collector(f.dispatcher);
    const std::string path = f.folder.write(
        "pause.xml",
        "<hud><button function=\"4\" data=\"3\"/><button function=\"3\" data=\"57\"/>"
        "<button function=\"1\" data=\"5\"/><button function=\"2\"/><button function=\"0\"/></hud>");
    ASSERT_TRUE(f.layout.LoadHud(path));
    auto colourOf = [&](size_t i) { return static_cast<int32_t>(f.layout.buttons()[i].pickColour); };
    EXPECT_TRUE(f.layout.LeftClick(colourOf(0)));
    EXPECT_TRUE(f.layout.LeftClick(colourOf(1)));
    EXPECT_TRUE(f.layout.LeftClick(colourOf(4)));
    EXPECT_FALSE(f.layout.LeftClick(0));
    f.dispatcher.Update();
    ASSERT_EQ(collector.seen.size(), 2u);
    EXPECT_EQ(collector.seen[0].type, HudMessage);
    EXPECT_EQ(collector.seen[0].value, 3);
    EXPECT_EQ(collector.seen[0].receiver, BROADCAST);
    EXPECT_EQ(collector.seen[1].type, KeyPressed);
    EXPECT_EQ(collector.seen[1].value, 57);

    // A state change that loads the next screen's layout replaces the buttons in the middle of the click.
    const std::string next = f.folder.write("next.xml", "<hud><button/></hud>");
    f.layout.hooks().changeState = [&](int32_t state) {
        f.states.push_back(state);
        f.layout.LoadHud(next);
    };
    EXPECT_TRUE(f.layout.LeftClick(colourOf(2)));
    EXPECT_EQ(f.states, (std::vector<int32_t>{5}));
    EXPECT_EQ(f.layout.buttons().size(), 1u);

    // "Pause" loads the combat layout and clears the paused flags.
    ASSERT_TRUE(f.layout.LoadHud(path));
    bool resumed = false;
    f.layout.hooks().leavePause = [&] { resumed = true; };
    EXPECT_TRUE(f.layout.LeftClick(colourOf(3)));
    EXPECT_TRUE(resumed);
    EXPECT_EQ(f.layout.fileName(), CombatLayoutFile);
    EXPECT_FALSE(f.layout.buttons().empty());
}

TEST(HudLayout, HoverPlaysOncePerButtonAndMovesTheHighlight) {
    LayoutFixture f;
    ASSERT_TRUE(f.layout.LoadHud(f.folder.write("menu.xml", SampleLayout)));
    std::vector<HudButton>& buttons = f.layout.buttons();
    const int32_t first = static_cast<int32_t>(buttons[0].pickColour);
    const int32_t second = static_cast<int32_t>(buttons[1].pickColour);
    EXPECT_EQ(f.layout.MouseOver(first), &buttons[0]);
    EXPECT_EQ(f.layout.MouseOver(first), &buttons[0]);
    EXPECT_EQ(f.hoverSounds, 1);
    EXPECT_EQ(f.layout.MouseOver(second), &buttons[1]);
    EXPECT_EQ(f.hoverSounds, 2);
    EXPECT_FALSE(buttons[0].mouseOver);
    EXPECT_TRUE(buttons[1].mouseOver);
    EXPECT_EQ(f.layout.MouseOver(0), nullptr);
    EXPECT_FALSE(buttons[1].mouseOver);
    EXPECT_EQ(f.hoverSounds, 2);
}

TEST(HudLayout, EditorSelectsAddsDeletesAndSaves) {
    LayoutFixture f;
    const std::string path = f.folder.write("menu.xml", SampleLayout);
    ASSERT_TRUE(f.layout.LoadHud(path));
    std::vector<HudButton>& buttons = f.layout.buttons();

    // Closed, a click runs the button and selection is ignored.
    f.layout.Select(buttons[0].id);
    EXPECT_EQ(f.layout.Selected(), nullptr);

    f.layout.ToggleEditor();
    ASSERT_TRUE(f.layout.editorOpen());
    Collector collector(f.dispatcher);
    EXPECT_TRUE(f.layout.LeftClick(static_cast<int32_t>(buttons[1].pickColour)));
    f.dispatcher.Update();
    EXPECT_TRUE(collector.seen.empty());
    EXPECT_EQ(f.layout.Selected(), &buttons[1]);

    // Deleting selects the following button, then none after the last.
    f.layout.DeleteSelected();
    ASSERT_EQ(buttons.size(), 2u);
    EXPECT_EQ(f.layout.Selected(), &buttons[1]);
    f.layout.DeleteSelected();
    EXPECT_EQ(f.layout.Selected(), nullptr);
    f.layout.DeleteSelected();
    EXPECT_EQ(buttons.size(), 1u);
    EXPECT_EQ(f.registry.size(), 1u) << "deleted buttons hand their colours back";

    // A new button is 100 x 100, selected, and saved as one more element.
    const int32_t id = f.layout.AddEditorButton();
    ASSERT_NE(f.layout.Selected(), nullptr);
    EXPECT_EQ(f.layout.Selected()->id, id);
    EXPECT_EQ(f.layout.Selected()->xSize, 100u);
    f.layout.Selected()->function = static_cast<int32_t>(ButtonFunction::Message);
    f.layout.Selected()->data = 3;
    ASSERT_TRUE(f.layout.SaveHud());
    HudLayout reread;
    ASSERT_TRUE(reread.LoadHud(path));
    ASSERT_EQ(reread.buttons().size(), 2u);
    EXPECT_EQ(reread.buttons()[1].xSize, 100u);
    EXPECT_EQ(reread.buttons()[1].ySize, 100u);

    // Loading keeps the editor open with nothing selected; closing clears the selection.
    f.layout.Select(id);
    ASSERT_TRUE(f.layout.LoadHud());
    EXPECT_TRUE(f.layout.editorOpen());
    EXPECT_EQ(f.layout.Selected(), nullptr);

    // With the editor closed the edited button sends its message.
    f.layout.ToggleEditor();
    EXPECT_TRUE(f.layout.LeftClick(static_cast<int32_t>(f.layout.buttons()[1].pickColour)));
    f.dispatcher.Update();
    ASSERT_EQ(collector.seen.size(), 1u);
    EXPECT_EQ(collector.seen[0].type, HudMessage);
    EXPECT_EQ(collector.seen[0].value, 3);
    EXPECT_STREQ(ButtonFunctionName(3), "Fake Key Press");
    EXPECT_STREQ(ButtonFunctionName(7), "Unknown");
}

} // namespace

TEST(HudLayout, SaveAsWritesACopyUnderTheNewNameAndWorksOnItFromThen) {
    EXPECT_EQ(LayoutSaveName("  victory "), "XMLFiles\\GUI\\victory.xml");
    EXPECT_EQ(LayoutSaveName("menu2.xml"), "XMLFiles\\GUI\\menu2.xml");
    EXPECT_EQ(LayoutSaveName("XMLFiles\\GUI\\sub\\menu"), "XMLFiles\\GUI\\sub\\menu.xml");
    EXPECT_EQ(LayoutSaveName("/tmp/a.b/menu"), "/tmp/a.b/menu.xml") << "a dot in a folder is no extension";
    EXPECT_EQ(LayoutSaveName("   "), "");
    EXPECT_EQ(LayoutSaveName("XMLFiles\\GUI\\"), "");

    LayoutFixture f;
    DialogRecorder rec;
    const std::string path = f.folder.write("menu.xml", SampleLayout);
    const std::string original = ReadAll(path);
    ASSERT_TRUE(f.layout.LoadHud(path));
    f.layout.buttons()[0].xPos = 321;

    const std::string copy = f.folder.file("menu_copy.xml");
    ASSERT_TRUE(f.layout.SaveHudAs(copy));
    EXPECT_EQ(f.layout.fileName(), copy);
    EXPECT_EQ(ReadAll(path), original) << "the file it was loaded from is untouched";
    HudLayout reread;
    ASSERT_TRUE(reread.LoadHud(copy));
    ASSERT_EQ(reread.buttons().size(), 3u);
    EXPECT_EQ(reread.buttons()[0].xPos, 321u);

    // Later saves go to the new file.
    f.layout.buttons()[0].xPos = 7;
    ASSERT_TRUE(f.layout.SaveHud());
    ASSERT_TRUE(reread.LoadHud());
    EXPECT_EQ(reread.buttons()[0].xPos, 7u);
    EXPECT_EQ(ReadAll(path), original);

    // A name that cannot be written, or none, shows a box and keeps working on the current file.
    EXPECT_FALSE(f.layout.SaveHudAs(f.folder.file("no/such/folder/x.xml")));
    EXPECT_FALSE(f.layout.SaveHudAs(" "));
    EXPECT_EQ(f.layout.fileName(), copy);
    EXPECT_EQ(rec.count(DialogKind::Error), 2);
}
