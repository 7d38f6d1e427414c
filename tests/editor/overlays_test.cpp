// Menus and message boxes inside the window: fitting, submenus, columns, choosing, dismissing, keys.
#include <gtest/gtest.h>

#include "editor/controls/button.h"
#include "editor/overlays/message_box.h"
#include "editor/overlays/popup_menu.h"
#include "editor_test_support.h"
#include "params/parameter_catalogue.h"

namespace quenvale::editor {
namespace {

using testing::HeadlessEditor;

ui::Point centreOf(const ui::Rect& r) {
    return {r.x + r.w / 2, r.y + r.h / 2};
}

bool inWindow(const ui::Rect& r) {
    return r.x >= 0 && r.y >= 0 && r.right() <= 772 && r.bottom() <= 598;
}

TEST(PopupMenu, SourceMenuSubmenusOpenOnHoverStayInsideTheWindowAndReturnTheSourceNumber) {
    HeadlessEditor ed;
    int32_t chosen = -100;
    // Opened near the bottom-right corner: everything must still fit.
    auto& menu = openPopupMenu(ed.root(), sourceMenuItems(false, 3), {760, 590}, [&](int32_t id) { chosen = id; });
    EXPECT_TRUE(inWindow(menu.content()));
    // Voice menu: "No Modulation", line, "Voice Envelopes" … ; "Channel Controllers" is item 8, its
    // second group holds controllers 0x10 … 0x1F (command c + 19, source c + 20).
    const ui::Rect controller = menu.itemRect({8, 1, 2});
    ASSERT_FALSE(controller.empty());
    EXPECT_EQ(menu.openLevels(), 3);
    EXPECT_TRUE(inWindow(controller));
    ed.root().pointerMove(centreOf(controller), 0);
    ed.root().pointerPress(centreOf(controller), ui::MouseButton::Left, 0, 1);
    ed.root().pointerRelease(centreOf(controller), ui::MouseButton::Left, 0);
    EXPECT_EQ(chosen, 20 + 0x12);
    EXPECT_EQ(ed.root().overlayCount(), 0u);
}

TEST(PopupMenu, TheCurrentSourceIsCheckedAlongItsPathAndSourcesCarryTheirColours) {
    const auto items = sourceMenuItems(true, 0);
    EXPECT_EQ(items[0].text, "No Modulation");
    EXPECT_TRUE(items[0].checked);
    const auto lfo2 = sourceMenuItems(true, 2);
    EXPECT_FALSE(lfo2[0].checked);
    EXPECT_TRUE(lfo2[2].checked);               // "Channel Lfos"
    EXPECT_TRUE(lfo2[2].children[1].checked);   // "Channel-Lfo 2"
    EXPECT_TRUE(lfo2[2].children[1].swatch.has_value());
    EXPECT_FALSE(lfo2[0].swatch.has_value());
}

TEST(PopupMenu, A128ItemMenuIsLaidOutInColumnsInsideTheWindow) {
    HeadlessEditor ed;
    std::vector<MenuItem> items;
    for (int i = 0; i < 128; ++i) items.push_back(MenuItem::command("Program " + std::to_string(i + 1), i));
    int32_t chosen = -1;
    auto& menu = openPopupMenu(ed.root(), std::move(items), {8, 30}, [&](int32_t id) { chosen = id; });
    EXPECT_TRUE(inWindow(menu.content()));
    const ui::Rect first = menu.itemRect({0});
    const ui::Rect last = menu.itemRect({127});
    EXPECT_TRUE(inWindow(last));
    EXPECT_GT(last.x, first.x);  // another column
    ed.clickAt(centreOf(last));
    EXPECT_EQ(chosen, 127);
}

TEST(PopupMenu, APressOutsideOrEscapeDismissesWithoutChoosing) {
    HeadlessEditor ed;
    for (bool escape : {false, true}) {
        int chosen = 0, dismissed = 0;
        openPopupMenu(ed.root(), valueMenuItems(quenvale::parameterIndex("Lfo1 Type"), 1), {100, 100},
                      [&](int32_t) { ++chosen; }, [&] { ++dismissed; });
        if (escape)
            ed.root().keyPress({ui::Key::Escape, "", 0});
        else
            ed.clickAt({700, 500});
        EXPECT_EQ(chosen, 0);
        EXPECT_EQ(dismissed, 1);
        EXPECT_EQ(ed.root().overlayCount(), 0u);
    }
}

TEST(MessageBox, ButtonsAndKeysGiveTheirAnswers) {
    HeadlessEditor ed;
    struct Case {
        MessageButtons buttons;
        std::vector<std::string> texts;
        int press;  // button index, or −1 Enter, −2 Escape
        MessageResult expected;
    };
    const Case cases[] = {
        {MessageButtons::Ok, {"OK"}, 0, MessageResult::Ok},
        {MessageButtons::YesNoCancel, {"Yes", "No", "Cancel"}, 1, MessageResult::No},
        {MessageButtons::YesNoCancel, {"Yes", "No", "Cancel"}, -2, MessageResult::Cancel},
        {MessageButtons::YesNo, {"Yes", "No"}, -1, MessageResult::Yes},
        {MessageButtons::YesNo, {"Yes", "No"}, -2, MessageResult::No},
    };
    for (const Case& c : cases) {
        std::optional<MessageResult> got;
        auto& box = showMessage(ed.root(), "Line one\nLine two", "Title", MessageIcon::Question, c.buttons,
                                [&](MessageResult r) { got = r; });
        ASSERT_EQ(box.buttons().size(), c.texts.size());
        for (size_t i = 0; i < c.texts.size(); ++i) EXPECT_EQ(box.buttons()[i]->label(), c.texts[i]);
        if (c.press >= 0)
            ed.click(*box.buttons()[c.press]);
        else
            ed.root().keyPress({c.press == -1 ? ui::Key::Enter : ui::Key::Escape, "", 0});
        EXPECT_EQ(got, c.expected);
        EXPECT_EQ(ed.root().overlayCount(), 0u);
    }
}

}  // namespace
}  // namespace quenvale::editor
