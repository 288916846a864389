#include "core/HudPointer.h"

#include "hud/HudLayout.h"
#include "hud/MessageDispatcher.h"

#include <gtest/gtest.h>

#include <vector>

TEST(HudPointer, HighlightsTheTopButtonUnderTheCursorAndRunsItOnALeftClick) {
    MessageDispatcher dispatcher;
    HudLayout hud;
    hud.SetDispatcher(&dispatcher);
    std::vector<int32_t> states;
    hud.hooks().changeState = [&states](int32_t state) { states.push_back(state); };
    HudButton low;
    low.xPos = 100;
    low.yPos = 100;
    low.function = int32_t(ButtonFunction::ChangeState);
    low.data = 3;
    HudButton high = low;
    high.xPos = 150;
    high.data = 11;
    hud.AddButton(low);
    hud.AddButton(high);

    int32_t cursorX = 160;
    int32_t cursorY = 120;
    bool inside = true;
    bool enabled = true;
    HudPointer pointer(
        hud,
        [&](int32_t& x, int32_t& y) {
            x = cursorX;
            y = cursorY;
            return inside;
        },
        [&] { return enabled; }, dispatcher);

    dispatcher.Update();
    EXPECT_FALSE(hud.buttons()[0].mouseOver);
    EXPECT_TRUE(hud.buttons()[1].mouseOver) << "the later button lies on top";

    Message click;
    click.type = MouseButtonPressed;
    click.value = 1;
    dispatcher.Send(click);
    dispatcher.Update();
    EXPECT_TRUE(states.empty()) << "right clicks do nothing";
    click.value = 0;
    dispatcher.Send(click);
    dispatcher.Update();
    EXPECT_EQ(states, std::vector<int32_t>{11});

    // Off every button, outside the window, or on a screen that does not want the mouse: nothing.
    cursorX = 20;
    dispatcher.Send(click);
    dispatcher.Update();
    EXPECT_FALSE(hud.buttons()[1].mouseOver);
    cursorX = 120;
    inside = false;
    dispatcher.Send(click);
    dispatcher.Update();
    inside = true;
    enabled = false;
    dispatcher.Send(click);
    dispatcher.Update();
    EXPECT_EQ(states, std::vector<int32_t>{11});
    enabled = true;
    dispatcher.Send(click);
    dispatcher.Update();
    EXPECT_EQ(states, (std::vector<int32_t>{11, 3}));
    EXPECT_EQ(ButtonAt(hud, 249, 199), &hud.buttons()[1]);
    EXPECT_EQ(ButtonAt(hud, 250, 200), nullptr) << "the right and bottom edges are outside";
}

TEST(HudPointer, TabOpensTheLayoutEditorWhereClicksSelectInsteadOfRunning) {
    MessageDispatcher dispatcher;
    HudLayout hud;
    hud.SetDispatcher(&dispatcher);
    int32_t changes = 0;
    hud.hooks().changeState = [&changes](int32_t) { ++changes; };
    HudButton button;
    button.function = int32_t(ButtonFunction::ChangeState);
    button.data = 5;
    const int32_t id = hud.AddButton(button);
    HudPointer pointer(
        hud,
        [](int32_t& x, int32_t& y) {
            x = 50;
            y = 50;
            return true;
        },
        [] { return true; }, dispatcher);

    Message tab;
    tab.type = KeyPressed;
    tab.value = TabKey;
    dispatcher.Send(tab);
    dispatcher.Update();
    ASSERT_TRUE(hud.editorOpen());

    Message click;
    click.type = MouseButtonPressed;
    click.value = 0;
    dispatcher.Send(click);
    dispatcher.Update();
    EXPECT_EQ(changes, 0) << "a click in the editor must not run the button";
    ASSERT_NE(hud.Selected(), nullptr);
    EXPECT_EQ(hud.Selected()->id, id);

    dispatcher.Send(tab);
    dispatcher.Update();
    EXPECT_FALSE(hud.editorOpen());
    EXPECT_EQ(hud.Selected(), nullptr);
    dispatcher.Send(click);
    dispatcher.Update();
    EXPECT_EQ(changes, 1);
}
