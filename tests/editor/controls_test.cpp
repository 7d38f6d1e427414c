// The editor's number controls on the real panel tree without a display: ModNumber drag modes and
// their factors, the minimum step, the pointer put back, the slot hit test, source menus choosing the
// right one of the five parameters, double-clicks; CEditNumber digit drags and typing; enum menus.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "editor/controls/edit_number.h"
#include "editor/controls/enum_field.h"
#include "editor/controls/mod_number.h"
#include "editor/overlays/popup_menu.h"
#include "editor/panels/gui_cat_mod.h"
#include "editor/panels/gui_lfo.h"
#include "editor/ui/draw.h"
#include "params/mod_sources.h"
#include "editor_test_support.h"
#include "params/parameter_index.h"

namespace quenvale::editor {
namespace {

using testing::HeadlessEditor;
using ui::MouseButton;
using ui::Point;

constexpr int32_t kGenRatio = 8;
constexpr int32_t kGenOffset = 13;
constexpr int32_t kGenOut = 18;

// A point in the value area and in slot s (0, 1) of a ModNumber, in window coordinates.
Point valuePoint(const ModNumber& n) {
    const ui::Rect r = n.windowRect();
    return {r.x + 10, r.bottom() - 8};
}
Point slotPoint(const ModNumber& n, int slot) {
    const ui::Rect r = n.windowRect();
    return {r.right() - (slot == 0 ? 26 : 8), r.bottom() - 8};
}

ModNumber& modNumber(HeadlessEditor& ed, const std::string& label) {
    auto* n = dynamic_cast<ModNumber*>(ed.find(label, "modnumber"));
    EXPECT_NE(n, nullptr) << label;
    return *n;
}

// The path of indices to the item reached through the given texts.
std::vector<int> menuPath(const std::vector<MenuItem>& items, const std::vector<std::string>& texts) {
    std::vector<int> path;
    const std::vector<MenuItem>* level = &items;
    for (const std::string& text : texts) {
        int found = -1;
        for (size_t i = 0; i < level->size(); ++i)
            if ((*level)[i].text == text) found = static_cast<int>(i);
        if (found < 0) return {};
        path.push_back(found);
        level = &(*level)[found].children;
    }
    return path;
}

TEST(EditorModNumber, DragModesChangeByTheirFactorsWithAMinimumStepAndPutThePointerBack) {
    struct Case {
        const char* label;
        int32_t value;      // the value's index; the slot's amount index when slot ≥ 0
        MouseButton button;
        int slot;           // −1 value area
        int dx;
        double change;
    };
    const Case cases[] = {
        {"Out", kGenOut, MouseButton::Left, -1, 1, 0.01},       // coarse: 1 % of 0 … 1 per pixel
        {"Out", kGenOut, MouseButton::Left, -1, -3, -0.03},
        {"Out", kGenOut, MouseButton::Right, -1, 1, 0.001},     // fine 0.0001, raised to the minimum step
        {"Out", kGenOut, MouseButton::Right, -1, -1, -0.001},
        {"Out", kGenOut, MouseButton::Right, -1, 20, 0.002},
        {"Out", kGenOut, MouseButton::Left, 0, 1, 0.001},       // amount of slot 1: 0.1 % of the range
        {"Out", kGenOut, MouseButton::Left, 1, -2, -0.002},
        {"Offset", kGenOffset, MouseButton::Left, -1, 1, 2.0},  // range 200
        {"Offset", kGenOffset, MouseButton::Right, -1, 1, 0.02},
        {"Offset", kGenOffset, MouseButton::Left, 1, 1, 0.2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.label) + " dx " + std::to_string(c.dx) + " slot " + std::to_string(c.slot));
        HeadlessEditor ed;
        ModNumber& n = modNumber(ed, c.label);
        const int32_t index = c.slot < 0 ? c.value : c.value + (c.slot == 0 ? kSlotAmount1 : kSlotAmount2);
        const float before = ed.model().number(index);
        const Point press = c.slot < 0 ? valuePoint(n) : slotPoint(n, c.slot);
        ed.root().pointerMove(press, 0);
        ed.root().pointerPress(press, c.button, 0, ed.nextTime());
        EXPECT_EQ(n.mode(), c.slot >= 0 ? ModNumber::kAmount : c.button == MouseButton::Left ? ModNumber::kCoarse
                                                                                            : ModNumber::kFine);
        ed.root().pointerMove({press.x, press.y + 7}, 0);  // a vertical move changes nothing
        EXPECT_EQ(ed.model().number(index), before);
        ed.root().pointerMove({press.x + c.dx, press.y}, 0);
        EXPECT_NEAR(ed.model().number(index) - before, c.change, 1e-6);
        ASSERT_FALSE(ed.root().recordingServices().warps.empty());
        EXPECT_EQ(ed.root().recordingServices().warps.back(), press);
        ed.root().pointerMove(press, 0);  // the warp arriving back: no change
        EXPECT_NEAR(ed.model().number(index) - before, c.change, 1e-6);
        ed.root().pointerRelease(press, c.button, 0);
        EXPECT_EQ(n.mode(), ModNumber::kIdle);
        // The host saw the change, bracketed by begin and end edit of the same index.
        ASSERT_FALSE(ed.host.reports.empty());
        EXPECT_EQ(ed.host.reports.back(), index);
        EXPECT_EQ(ed.host.edits, (std::vector<int32_t>{index + 1, -(index + 1)}));
    }
}

TEST(EditorModNumber, SlotsAreTheRightmostSeventeenPixelsEachAndHiddenSlotsLeaveTheValue) {
    HeadlessEditor ed;
    ModNumber& ratio = modNumber(ed, "Ratio");
    const int w = ratio.bounds().w;
    const struct {
        int x;
        int hit;
    } cases[] = {{w - 1, 1}, {w - 17, 1}, {w - 18, 0}, {w - 34, 0}, {w - 35, -1}, {0, -1}};
    for (const auto& c : cases) EXPECT_EQ(ratio.hitTest({c.x, 20}), c.hit) << "x " << c.x;

    // "Glide" shows no slots: a press at its right edge drags the value.
    ModNumber& glide = modNumber(ed, "Glide");
    EXPECT_FALSE(glide.slotsShown());
    EXPECT_EQ(glide.hitTest({glide.bounds().w - 1, 20}), -1);
    const ui::Rect r = glide.windowRect();
    ed.drag({r.right() - 2, r.bottom() - 5}, {r.right() + 3, r.bottom() - 5});
    EXPECT_NEAR(ed.model().number(kParamGlide), 0.05, 1e-6);
}

TEST(EditorModNumber, SourceMenuChoicesSetTheSlotsSourceParameter) {
    struct Case {
        const char* label;
        int page;
        int slot;
        std::vector<std::string> path;
        int32_t valueIndex;
        int32_t source;
        const char* shortName;
    };
    const Case cases[] = {
        {"Ratio", 0, 0, {"Voice Lfos", "Voice Lfo 3"}, kGenRatio, 9, "L3"},
        {"Ratio", 0, 1, {"Voice StepSeqs", "Voice StepSeq 4"}, kGenRatio, 157, "S4"},
        {"Offset", 0, 1, {"MacroParams", "MacroParam 2"}, kGenOffset, 149, "M2"},
        {"Ratio", 0, 0, {"No Modulation"}, kGenRatio, 0, nullptr},
        // Channel numbering for the effects' parameters.
        {"Not used", 2, 0, {"Channel Lfos", "Channel-Lfo 2"}, 332, 2, "G2"},
        {"Not used", 2, 1, {"MacroParams", "MacroParam 6"}, 332, 138, "M6"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path.back());
        HeadlessEditor ed;
        ed.main().showPage(c.page);
        const int32_t sourceIndex = c.valueIndex + (c.slot == 0 ? kSlotSource1 : kSlotSource2);
        const int32_t other = c.valueIndex + (c.slot == 0 ? kSlotSource2 : kSlotSource1);
        ed.engine.setParameterValue(0, sourceIndex, makeIntValue(5));  // something to clear
        ed.tick();
        ModNumber& n = modNumber(ed, c.label);
        ed.clickAt(slotPoint(n, c.slot), MouseButton::Right);
        auto* menu = dynamic_cast<PopupMenu*>(ed.root().topOverlay());
        ASSERT_NE(menu, nullptr);
        const std::vector<MenuItem> items = sourceMenuItems(n.channelNumbering(), 5);
        const ui::Rect item = menu->itemRect(menuPath(items, c.path));
        ASSERT_FALSE(item.empty());
        ed.clickAt({item.x + item.w / 2, item.y + item.h / 2});
        EXPECT_EQ(ed.root().topOverlay(), nullptr);
        EXPECT_EQ(ed.model().integer(sourceIndex), c.source);
        EXPECT_EQ(ed.model().integer(other), 0);  // the other slot is untouched
        EXPECT_EQ(n.source(c.slot), c.source);
        EXPECT_EQ(n.menuChoice(c.slot), c.source - 1);
        EXPECT_EQ(ed.host.reports.back(), sourceIndex);
        if (c.shortName != nullptr) {
            const ModSourceInfo& info = n.channelNumbering() ? channelSourceTable()[c.source - 1]
                                                             : voiceSourceTable()[c.source - 1];
            EXPECT_STREQ(info.shortName, c.shortName);
        }
    }
}

TEST(EditorModNumber, StepSequencerOutSlotsOfferTheWholeVoiceNumbering) {
    // Their catalogue range ends at 138, but the editor and stored programs reach every voice source.
    HeadlessEditor ed;
    ed.main().showPage(1);
    static_cast<GuiCatMod&>(ed.main().page(1)).select(ModFamily::StepSeq, 3);
    ModNumber& out = modNumber(ed, "Out");
    ASSERT_EQ(out.parameter(0), 102);
    EXPECT_FALSE(out.channelNumbering());
    ed.clickAt(slotPoint(out, 0), MouseButton::Right);
    auto* menu = dynamic_cast<PopupMenu*>(ed.root().topOverlay());
    ASSERT_NE(menu, nullptr);
    const ui::Rect item = menu->itemRect(menuPath(sourceMenuItems(false, 0), {"Voice StepSeqs", "Voice StepSeq 2"}));
    ASSERT_FALSE(item.empty());
    ed.clickAt({item.x + item.w / 2, item.y + item.h / 2});
    EXPECT_EQ(ed.model().integer(103), 155);
}

TEST(EditorModNumber, SlotsShowTheirSourcesColour) {
    HeadlessEditor ed;
    ed.engine.setParameterValue(0, kGenRatio + kSlotSource1, makeIntValue(1));      // E1
    ed.engine.setParameterValue(0, kGenRatio + kSlotAmount1, makeFloatValue(0.5f));
    ed.engine.setParameterValue(0, kGenRatio + kSlotSource2, makeIntValue(150));    // M3
    ed.tick();
    ModNumber& ratio = modNumber(ed, "Ratio");
    cairo_surface_t* image = ed.paint();
    cairo_surface_flush(image);
    const unsigned char* data = cairo_image_surface_get_data(image);
    const int stride = cairo_image_surface_get_stride(image);
    auto pixel = [&](Point p) {
        uint32_t v;
        std::memcpy(&v, data + p.y * stride + p.x * 4, 4);
        return v & 0xFFFFFFu;  // 0xRRGGBB of an opaque pixel
    };
    // Near the slot's top left corner, clear of the short name and the amount bar. The table keeps
    // 0x00BBGGRR: E1 0x7E61C5 is red C5, green 61, blue 7E.
    const ui::Rect r = ratio.windowRect();
    EXPECT_EQ(pixel({r.right() - 2 * ui::theme::kSlotWidth + 2, r.y + ModNumber::kLabelHeight + 2}), 0xC5617Eu);
    EXPECT_EQ(pixel({r.right() - ui::theme::kSlotWidth + 2, r.y + ModNumber::kLabelHeight + 2}), 0x61C57Eu);
    cairo_surface_destroy(image);
}

class DoubleClickSink : public ModNumberSink {
public:
    void valueDoubleClicked(ModNumber&) override { events.push_back(-1); }
    void slotDoubleClicked(ModNumber&, int slot) override { events.push_back(slot); }
    std::vector<int> events;
};

TEST(EditorModNumber, DoubleClicksOnValueAndSlotAreDistinct) {
    HeadlessEditor ed;
    ModNumber& out = modNumber(ed, "Out");
    ed.engine.setParameterValue(0, kGenOut, makeFloatValue(0.9f));
    ed.engine.setParameterValue(0, kGenOut + kSlotAmount2, makeFloatValue(0.4f));
    ed.tick();
    auto doubleClick = [&](Point p) {
        ed.root().pointerPress(p, MouseButton::Left, 0, ed.nextTime());
        ed.root().pointerRelease(p, MouseButton::Left, 0);
        ed.root().pointerPress(p, MouseButton::Left, 0, ed.sameTime());
        ed.root().pointerRelease(p, MouseButton::Left, 0);
    };
    // Without a sink: the value goes back to its default, a slot's amount to 0.
    doubleClick(slotPoint(out, 1));
    EXPECT_EQ(ed.model().number(kGenOut + kSlotAmount2), 0.0f);
    EXPECT_EQ(ed.model().number(kGenOut), 0.9f);
    doubleClick(valuePoint(out));
    EXPECT_EQ(ed.model().number(kGenOut), 0.5f);

    DoubleClickSink sink;
    out.setSink(&sink);
    doubleClick(valuePoint(out));
    doubleClick(slotPoint(out, 0));
    doubleClick(slotPoint(out, 1));
    EXPECT_EQ(sink.events, (std::vector<int>{-1, 0, 1}));
    out.setSink(nullptr);
}

TEST(EditorEditNumber, DigitDragsStepByTheDigitsExponentAndTypingStores) {
    struct Case {
        const char* label;
        int32_t index;
        float start;
        int character;  // index into the shown text
        int dy;         // upwards positive
        float expected;
    };
    const Case cases[] = {
        {"Attack", kParamCompressorAttack, 1.0f, 0, 2, 3.0f},      // "1.00": the units digit, e = 2
        {"Attack", kParamCompressorAttack, 1.0f, 3, 5, 1.05f},     // the last digit, e = 0
        {"Attack", kParamCompressorAttack, 1.0f, 1, -1, 0.9f},     // the point means the digit after it
        {"Threshold", kParamCompressorThresh, 0.5f, 2, 1, 0.6f},   // "0.500": tenths, e = 2
        {"Release", kParamCompressorRelease, 300.0f, 0, 3, 303.0f}, // no decimals: dy whatever the digit
        {"Release", kParamCompressorRelease, 300.0f, 0, 400, 600.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.label) + " char " + std::to_string(c.character));
        HeadlessEditor ed;
        ed.engine.setParameterValue(0, c.index, makeFloatValue(c.start));
        ed.tick();
        auto* field = dynamic_cast<CEditNumber*>(ed.find(c.label, "editnumber"));
        ASSERT_NE(field, nullptr);
        // The middle of the character in the field's monospace font.
        const std::string text = field->text();
        cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1);
        cairo_t* cr = cairo_create(surface);
        ui::draw::setFont(cr, ui::theme::kFontSize, false, true);
        const double left = ui::draw::textWidth(cr, text.substr(0, c.character));
        const double right = ui::draw::textWidth(cr, text.substr(0, c.character + 1));
        cairo_destroy(cr);
        cairo_surface_destroy(surface);
        const ui::Rect r = field->windowRect();
        const Point press{r.x + CEditNumber::kTextInset + static_cast<int>((left + right) / 2), r.bottom() - 6};
        ed.root().pointerPress(press, MouseButton::Left, 0, ed.nextTime());
        EXPECT_TRUE(ed.root().recordingServices().pointerHidden);
        ed.root().pointerMove({press.x, press.y - c.dy}, 0);
        ed.root().pointerRelease({press.x, press.y - c.dy}, MouseButton::Left, 0);
        EXPECT_FALSE(ed.root().recordingServices().pointerHidden);
        EXPECT_EQ(ed.root().recordingServices().warps.back(), press);
        EXPECT_NEAR(ed.model().number(c.index), c.expected, 1e-4);
    }
}

TEST(EditorEditNumber, DoubleClickTypesANumberThatEnterStoresAndEscapeDrops) {
    HeadlessEditor ed;
    auto* field = dynamic_cast<CEditNumber*>(ed.find("Slope", "editnumber"));
    ASSERT_NE(field, nullptr);
    const Point p = HeadlessEditor::centre(*field);
    auto type = [&](const std::string& text, ui::Key end) {
        ed.root().pointerPress(p, MouseButton::Left, 0, ed.nextTime());
        ed.root().pointerRelease(p, MouseButton::Left, 0);
        ed.root().pointerPress(p, MouseButton::Left, 0, ed.sameTime());
        ed.root().pointerRelease(p, MouseButton::Left, 0);
        EXPECT_TRUE(field->typing());
        for (int i = 0; i < 5; ++i) ed.root().keyPress({ui::Key::Backspace, "", 0});
        for (char ch : text) ed.root().keyPress({ui::Key::Character, std::string(1, ch), 0});
        ed.root().keyPress({end, "", 0});
        EXPECT_FALSE(field->typing());
    };
    type("0.25", ui::Key::Enter);
    EXPECT_NEAR(ed.model().number(kParamCompressorSlope), 0.25, 1e-6);
    type("0.75", ui::Key::Escape);
    EXPECT_NEAR(ed.model().number(kParamCompressorSlope), 0.25, 1e-6);
    type("7", ui::Key::Enter);  // clamped to the range 0 … 1
    EXPECT_NEAR(ed.model().number(kParamCompressorSlope), 1.0, 1e-6);
}

TEST(EditorEnumField, MenuChoiceIsClampedToTheRange) {
    // "Lfo1 Type" lists seven names for the values 0 … 5: the seventh, "Parabol", stores 5.
    const struct {
        std::string item;
        int32_t expected;
    } cases[] = {{"Saw", 2}, {"Tri", 5}, {"Parabol", 5}, {"Off", 0}};
    HeadlessEditor ed;
    ed.main().showPage(1);
    static_cast<GuiCatMod&>(ed.main().page(1)).select(ModFamily::Lfo, 0);
    auto* field = dynamic_cast<EnumField*>(ed.find("Type", "enum"));
    ASSERT_NE(field, nullptr);
    for (const auto& c : cases) {
        ed.click(*field);
        auto* menu = dynamic_cast<PopupMenu*>(ed.root().topOverlay());
        ASSERT_NE(menu, nullptr);
        const std::vector<MenuItem> items = valueMenuItems(107, field->value());
        ASSERT_EQ(items.size(), 7u);
        const ui::Rect item = menu->itemRect(menuPath(items, {c.item}));
        ASSERT_FALSE(item.empty());
        ed.clickAt({item.x + item.w / 2, item.y + item.h / 2});
        EXPECT_EQ(ed.model().integer(107), c.expected) << c.item;
        EXPECT_EQ(field->value(), c.expected);
    }
}

}  // namespace
}  // namespace quenvale::editor
