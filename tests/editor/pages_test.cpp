// The pages and instance pages on the panel tree without a display: instance buttons rebinding the
// right parameter indices, step and envelope edits reaching the sound, effect labels following the
// slot's type, and changes made elsewhere (host automation from another thread) reaching the
// controls within two timer ticks.
#include <gtest/gtest.h>

#include <thread>

#include "editor/controls/button.h"
#include "editor/controls/edit_number.h"
#include "editor/controls/enum_field.h"
#include "editor/controls/mod_meter.h"
#include "editor/controls/wavetable_display.h"
#include "editor/controls/envelope_control.h"
#include "editor/controls/mod_number.h"
#include "editor/controls/step_seq_control.h"
#include "editor/overlays/popup_menu.h"
#include "editor/panels/gui_cat_fx.h"
#include "editor/panels/gui_cat_mod.h"
#include "editor/panels/gui_ch_fx.h"
#include "editor/panels/gui_ch_lfo.h"
#include "editor/panels/gui_env.h"
#include "editor/panels/gui_lfo.h"
#include "editor/panels/gui_step_seq.h"
#include "editor_test_support.h"
#include "engine/seq/step_shapes.h"
#include "params/parameter_index.h"

namespace quenvale::editor {
namespace {

using testing::HeadlessEditor;
using ui::MouseButton;
using ui::Point;

GuiCatMod& modulators(HeadlessEditor& ed) {
    ed.main().showPage(1);
    return static_cast<GuiCatMod&>(ed.main().page(1));
}

std::vector<int32_t> indicesOf(const ui::Widget& w) {
    const auto p = w.parameters();
    return {p.begin(), p.end()};
}

std::vector<int32_t> modulated(int32_t v) {
    return {v, v + 1, v + 2, v + 3, v + 4};
}

TEST(EditorPages, InstanceButtonsRebindTheInstancesParameters) {
    HeadlessEditor ed;
    GuiCatMod& mod = modulators(ed);
    for (int k = 0; k < kEnvelopeCount; ++k) {
        ed.click(mod.instanceButton(ModFamily::Env, k));
        auto& env = static_cast<GuiEnv&>(mod.instancePage(ModFamily::Env));
        EXPECT_TRUE(env.showing());
        EXPECT_EQ(indicesOf(env.out()), modulated(49 + 5 * k));
        EXPECT_EQ(env.editor().envelope(), k);
    }
    for (int k = 0; k < kStepSeqCount; ++k) {
        ed.click(mod.instanceButton(ModFamily::StepSeq, k));
        auto& seq = static_cast<GuiStepSeq&>(mod.instancePage(ModFamily::StepSeq));
        EXPECT_EQ(indicesOf(seq.length()), std::vector<int32_t>{80 + 7 * k});
        EXPECT_EQ(indicesOf(seq.out()), modulated(81 + 7 * k));
        EXPECT_EQ(seq.steps().sequencer(), k);
    }
    for (int k = 0; k < kVoiceLfoCount; ++k) {
        ed.click(mod.instanceButton(ModFamily::Lfo, k));
        auto& lfo = static_cast<GuiLfo&>(mod.instancePage(ModFamily::Lfo));
        const int32_t first = 107 + 22 * k;
        for (int m = 0; m < 4; ++m) EXPECT_EQ(indicesOf(lfo.number(m)), modulated(first + 2 + 5 * m)) << k;
    }
    for (int k = 0; k < kChannelLfoCount; ++k) {
        ed.click(mod.instanceButton(ModFamily::ChLfo, k));
        auto& lfo = static_cast<GuiChLfo&>(mod.instancePage(ModFamily::ChLfo));
        EXPECT_EQ(indicesOf(lfo.number(0)), modulated(285 + 12 * k));
        EXPECT_EQ(indicesOf(lfo.number(1)), modulated(290 + 12 * k));
        EXPECT_TRUE(lfo.number(0).channelNumbering());
    }
    // A drag on "Lfo3 Ratio" after the rebinding reaches index 153 and nothing else.
    ed.click(mod.instanceButton(ModFamily::Lfo, 2));
    ModNumber& ratio = static_cast<GuiLfo&>(mod.instancePage(ModFamily::Lfo)).number(0);
    ed.host.reports.clear();
    const ui::Rect r = ratio.windowRect();
    ed.drag({r.x + 10, r.bottom() - 6}, {r.x + 14, r.bottom() - 6});
    EXPECT_EQ(ed.host.reports, std::vector<int32_t>{153});
    EXPECT_NEAR(ed.model().number(153), 0.25 * 0.04, 1e-6);
    EXPECT_EQ(ed.model().number(131), 0.0f);  // Lfo2 Ratio untouched
}

TEST(EditorPages, ViewsReachEveryInstancePage) {
    HeadlessEditor ed;
    GuiCatMod& mod = modulators(ed);
    ASSERT_EQ(mod.viewCount(), 22);
    const struct {
        int view;
        const char* name;
        ModFamily family;
        int instance;
    } cases[] = {{0, "Env1", ModFamily::Env, 0},     {6, "StepSeq1", ModFamily::StepSeq, 0},
                 {12, "Lfo3", ModFamily::Lfo, 2},     {17, "Lfo8", ModFamily::Lfo, 7},
                 {21, "ChLfo4", ModFamily::ChLfo, 3}};
    for (const auto& c : cases) {
        EXPECT_EQ(mod.viewName(c.view), c.name);
        ui::Widget* button = mod.showView(c.view);
        EXPECT_EQ(button, &mod.instanceButton(c.family, c.instance));
        EXPECT_TRUE(mod.instancePage(c.family).showing());
        EXPECT_EQ(mod.instancePage(c.family).instance(), c.instance);
    }
}

TEST(EditorPages, StepPicksFollowTheFormulasAndEditsReachTheSequencer) {
    HeadlessEditor ed;
    GuiCatMod& mod = modulators(ed);
    ed.click(mod.instanceButton(ModFamily::StepSeq, 1));
    StepSeqControl& steps = static_cast<GuiStepSeq&>(mod.instancePage(ModFamily::StepSeq)).steps();
    const int w = steps.bounds().w;
    // Length " 4" (default) and " 1".
    const struct {
        int length;    // Length value
        double share;  // x as a share of the width
        int left;
        int right;
    } cases[] = {
        {3, 0.0, 0, 0},    {3, 0.12, 0, 0},  {3, 0.13, 1, 0},  {3, 0.26, 1, 1},
        {3, 0.62, 2, 2},   {3, 0.63, 3, 2},  {3, 0.88, 0, 3},  // the last half column: step 0
        {3, 0.999, 0, 3},  {0, 0.4, 0, 0},   {0, 0.6, 0, 0},   {4, 0.07, 1, 0},  // 8 steps
    };
    for (const auto& c : cases) {
        ed.engine.setParameterValue(0, 80 + 7, makeIntValue(c.length));
        const int x = static_cast<int>(c.share * w);
        EXPECT_EQ(steps.leftPick(x), c.left) << c.length << " " << c.share;
        EXPECT_EQ(steps.rightPick(x), c.right) << c.length << " " << c.share;
    }
    EXPECT_EQ(steps.leftPick(-1), -1);

    // Drag step 1 of four upwards: +0.01 per pixel, clamped at 1; the ranges follow.
    ed.engine.setParameterValue(0, 80 + 7, makeIntValue(3));
    ed.tick();
    StepSeqBlock& block = ed.engine.channel().stepSeq[1];
    block.steps[1].start = 0.5f;
    const ui::Rect r = steps.windowRect();
    const Point press{r.x + w / 4, r.y + r.h / 2};
    ed.root().pointerPress(press, MouseButton::Left, 0, ed.nextTime());
    EXPECT_EQ(steps.picked(), 1);
    ed.root().pointerMove({press.x, press.y - 5}, 0);
    ed.root().pointerMove({press.x + 30, press.y - 12}, 0);  // sideways movement keeps the pick
    ed.root().pointerRelease({press.x + 30, press.y - 12}, MouseButton::Left, 0);
    EXPECT_NEAR(block.steps[1].start, 0.62, 1e-5);
    EXPECT_NEAR(block.steps[0].range, 0.62f - block.steps[0].start, 1e-6);
    EXPECT_NEAR(block.steps[1].range, block.steps[2].start - 0.62f, 1e-6);
    ed.drag(press, {press.x, press.y - 500});
    EXPECT_EQ(block.steps[1].start, 1.0f);
    EXPECT_TRUE(ed.main().changed());

    // Right press: the shape menu of the step under the pointer, item i = shape i.
    const Point right{r.x + w * 3 / 4 + 5, r.y + 20};
    ed.clickAt(right, MouseButton::Right);
    auto* menu = dynamic_cast<PopupMenu*>(ed.root().topOverlay());
    ASSERT_NE(menu, nullptr);
    const ui::Rect item = menu->itemRect({4});
    ed.clickAt({item.x + item.w / 2, item.y + item.h / 2});
    EXPECT_EQ(block.steps[3].shape, 4);  // "Pow 4"
    EXPECT_STREQ(kStepShapeNames[4], "Pow 4");
}

TEST(EditorPages, EnvelopePointEditsReachTheCurve) {
    HeadlessEditor ed;
    GuiCatMod& mod = modulators(ed);
    ed.click(mod.instanceButton(ModFamily::Env, 2));
    EnvelopeControl& env = static_cast<GuiEnv&>(mod.instancePage(ModFamily::Env)).editor();
    BreakpointCurve& curve = ed.engine.channel().env[2].curve;
    ASSERT_EQ(curve.segmentCount, 2);  // default: 10 ms attack to 1, 1 s release, sustain at point 1
    const Point origin = env.windowOrigin();
    auto at = [&](Point local) { return origin + local; };
    auto doubleClick = [&](Point p) {
        ed.root().pointerPress(p, MouseButton::Left, 0, ed.nextTime());
        ed.root().pointerRelease(p, MouseButton::Left, 0);
        ed.root().pointerPress(p, MouseButton::Left, 0, ed.sameTime());
        ed.root().pointerRelease(p, MouseButton::Left, 0);
    };

    // Move point 1 (end of the attack) right and down: the attack's length and level change, the
    // release keeps its length.
    const Point p1 = env.pointPosition(1);
    const Point target{p1.x + 40, p1.y + 60};
    const double targetTime = env.timeAt(target.x);  // the time scale holds still during a drag
    ed.drag(at(p1), at(target));
    EXPECT_NEAR(curve.lengths[0], targetTime, 1e-6);
    EXPECT_NEAR(curve.endValues[0], env.valueAt(target.y), 1e-6);
    EXPECT_EQ(curve.lengths[1], 1.0f);
    EXPECT_TRUE(ed.main().changed());

    // Double-click inside the release adds a point there and keeps the sustain point.
    const double releaseStart = curve.lengths[0];
    const Point add{env.pointPosition(1).x + (env.pointPosition(2).x - env.pointPosition(1).x) / 2, 40};
    const double addTime = env.timeAt(add.x);
    doubleClick(at(add));
    ASSERT_EQ(curve.segmentCount, 3);
    EXPECT_NEAR(curve.lengths[1], addTime - releaseStart, 1e-5);
    EXPECT_NEAR(curve.lengths[1] + curve.lengths[2], 1.0, 1e-5);
    EXPECT_NEAR(curve.endValues[1], env.valueAt(40), 1e-6);
    EXPECT_EQ(curve.endValues[2], 0.0f);
    EXPECT_EQ(curve.loopStart, 0);
    EXPECT_EQ(curve.loopEnd, 0);

    // Right-click on point 2: "Sustain Here" moves the hold to the end of segment 1.
    ed.clickAt(at(env.pointPosition(2)), MouseButton::Right);
    auto* menu = dynamic_cast<PopupMenu*>(ed.root().topOverlay());
    ASSERT_NE(menu, nullptr);
    // "Remove Point", line, "Loop Start Here", "Loop End Here", "Sustain Here", "No Loop".
    ui::Rect item = menu->itemRect({4});
    ed.clickAt({item.x + item.w / 2, item.y + item.h / 2});
    EXPECT_EQ(curve.loopStart, 1);
    EXPECT_EQ(curve.loopEnd, 1);

    // Bending the falling last segment upwards makes it fall later (a smaller shape).
    const float shape = curve.shapes[2];
    const Point mid{(env.pointPosition(2).x + env.pointPosition(3).x) / 2, 60};
    ed.drag(at(mid), at({mid.x, mid.y - 20}));
    EXPECT_NEAR(curve.shapes[2], shape - 20 * EnvelopeControl::kShapePerPixel, 1e-5);

    // Double-click on point 2 removes it: its segments merge, the later point keeps its time.
    const double endTime = curve.lengths[0] + curve.lengths[1] + curve.lengths[2];
    doubleClick(at(env.pointPosition(2)));
    ASSERT_EQ(curve.segmentCount, 2);
    EXPECT_NEAR(curve.lengths[0] + curve.lengths[1], endTime, 1e-5);
    EXPECT_EQ(curve.loopStart, 1);
    EXPECT_EQ(curve.loopEnd, 1);
    // The last segment cannot go.
    EXPECT_TRUE(env.removePoint(2));
    EXPECT_FALSE(env.removePoint(1));
    EXPECT_EQ(curve.segmentCount, 1);
    EXPECT_EQ(curve.loopStart, 0);
    // A full curve refuses another point.
    for (int i = 0; i < 40; ++i) env.addPoint(10.0 + i, 0.5);
    EXPECT_EQ(curve.segmentCount, kMaxCurveSegments);
}

TEST(EditorPages, EffectParameterLabelsAndRangesFollowTheSlotType) {
    const struct {
        int32_t type;
        const char* labels[4];
        float max1;
    } cases[] = {
        {1, {"Left Time", "Left Feedback", "Right Time", "Right Feedback"}, 1.0f},
        {2, {"1st Notch Freq", "Feedback", "Not used", "Not used"}, 5000.0f},
        {0, {"Not used", "Not used", "Not used", "Not used"}, 1.0f},
    };
    HeadlessEditor ed;
    ed.main().showPage(2);
    auto& page = static_cast<GuiCatFx&>(ed.main().page(2));
    for (int slot = 0; slot < 2; ++slot) {
        GuiChFx& fx = page.slot(slot);
        const int32_t type = 331 + 26 * slot;
        EXPECT_EQ(indicesOf(fx.param(0)), modulated(type + 1));
        EXPECT_EQ(indicesOf(fx.dryWet()), modulated(type + 21));
        for (const auto& c : cases) {
            // Through the type menu …
            ed.click(fx.type());
            auto* menu = dynamic_cast<PopupMenu*>(ed.root().topOverlay());
            ASSERT_NE(menu, nullptr);
            const ui::Rect item = menu->itemRect({c.type});
            ed.clickAt({item.x + item.w / 2, item.y + item.h / 2});
            EXPECT_EQ(ed.model().integer(type), c.type);
            for (int i = 0; i < 4; ++i) EXPECT_EQ(fx.param(i).label(), c.labels[i]) << slot << " " << c.type;
            EXPECT_EQ(fx.param(0).maximum(), c.max1);
        }
        // … and from the host: the labels follow within two ticks.
        ed.engine.setParameterValue(0, type, makeIntValue(2));
        ed.tick();
        ed.tick();
        EXPECT_EQ(fx.param(0).label(), "1st Notch Freq");
        EXPECT_EQ(fx.param(0).minimum(), 10.0f);
    }
}

TEST(EditorPages, HostAutomationFromAnotherThreadReachesTheControlsWithinTwoTicks) {
    HeadlessEditor ed;
    GuiCatMod& mod = modulators(ed);
    ed.click(mod.instanceButton(ModFamily::Lfo, 4));
    ed.main().showPage(0);
    auto& lfo = static_cast<GuiLfo&>(mod.instancePage(ModFamily::Lfo));
    auto* release = dynamic_cast<CEditNumber*>(ed.find("Release", "editnumber"));
    auto* pwm = dynamic_cast<EnumField*>(ed.find("PWM Mode", "enum"));
    auto* out = dynamic_cast<ModNumber*>(ed.find("Out", "modnumber"));
    ASSERT_TRUE(release && pwm && out);
    std::thread host([&] {
        ed.engine.setParameterNormalized(0, kParamCompressorRelease, 0.5f);  // 350 ms
        ed.engine.setParameterNormalized(0, 28, 1.0f);                        // PWM Mode "Mul"
        ed.engine.setParameterNormalized(0, 18, 0.25f);                       // Gen1 Out
        ed.engine.setParameterValue(0, 18 + kSlotSource2, makeIntValue(148));  // M1
        ed.engine.setParameterValue(0, 197 + kSlotAmount1, makeFloatValue(-0.125f));  // Lfo5 Ratio amount 1
    });
    host.join();
    ed.tick();
    ed.tick();
    EXPECT_EQ(release->count(), 350);
    EXPECT_EQ(pwm->value(), 3);
    EXPECT_EQ(pwm->valueText(), "Mul");
    EXPECT_FLOAT_EQ(out->value(), 0.25f);
    EXPECT_EQ(out->source(1), 148);
    EXPECT_FLOAT_EQ(lfo.number(0).amount(0), -0.125f);  // a hidden page's control is current too
    EXPECT_TRUE(ed.host.reports.empty());               // nothing was echoed back to the host
}

TEST(EditorPages, MetersFollowTheMonitoredVoice) {
    HeadlessEditor ed;
    GuiCatMod& mod = modulators(ed);
    ed.engine.setSampleRate(44100.0f);
    ed.engine.setParameterValue(0, 107, makeIntValue(1));  // Lfo1 "Sine" at the default 5 Hz
    std::vector<float> left(512), right(512);
    auto render = [&](int blocks) {
        for (int i = 0; i < blocks; ++i) ed.engine.render(left.data(), right.data(), 512);
    };
    const MidiEntry on{0x90, 60, 100, 0};
    ed.engine.processMidi(&on, 1);
    render(20);  // 0.23 s: the 10 ms attack is over, envelope 1 holds at 1

    ed.click(mod.instanceButton(ModFamily::Env, 0));
    ed.tick();
    auto& env = static_cast<GuiEnv&>(mod.instancePage(ModFamily::Env));
    EXPECT_NEAR(env.meter().value(), 1.0f, 1e-4);
    EXPECT_EQ(env.meter().barPixels(), env.meter().bounds().h - 2);

    ed.click(mod.instanceButton(ModFamily::Lfo, 0));
    auto* wave = dynamic_cast<WavetableDisplay*>(ed.find("Waveform", "wave"));
    auto* meter = dynamic_cast<ModMeter*>(ed.find("Output", "meter"));
    ASSERT_TRUE(wave && meter);
    EXPECT_EQ(wave->type(), 1);
    // Over a second of ticks the sine meter swings both ways.
    float lowest = 1.0f, highest = -1.0f;
    for (int i = 0; i < 50; ++i) {
        render(2);
        ed.tick();
        lowest = std::min(lowest, meter->value());
        highest = std::max(highest, meter->value());
    }
    EXPECT_LT(lowest, -0.9f);
    EXPECT_GT(highest, 0.9f);

    // The voice ends after its 1 s release: the meters fall to 0.
    const MidiEntry off{0x80, 60, 0, 0};
    ed.engine.processMidi(&off, 1);
    render(120);
    ed.tick();
    EXPECT_EQ(meter->value(), 0.0f);
}

}  // namespace
}  // namespace quenvale::editor
