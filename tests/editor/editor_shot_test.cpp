// quenvale-editor-shot: a picture and a control map for every page and instance page, without a display.
#include <cairo.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "editor/controls/knob.h"
#include "editor_test_support.h"
#include "params/parameter_index.h"

namespace quenvale::editor {
namespace {

namespace fs = std::filesystem;

#ifdef QUENVALE_EDITOR_SHOT_PATH
TEST(EditorShot, WritesAPictureAndAControlMapPerViewWithWindowCoordinates) {
    const fs::path dir = fs::temp_directory_path() / ("quenvale-editor-shot-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    const std::string command = std::string(QUENVALE_EDITOR_SHOT_PATH) + " " + dir.string() + " > /dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
    // "Voice", "Effects" and the 22 instance pages of "Modulators".
    int pictures = 0;
    for (const auto& entry : fs::directory_iterator(dir)) {
        if (entry.path().extension() != ".png") continue;
        ++pictures;
        EXPECT_TRUE(fs::exists(fs::path(entry.path()).replace_extension(".json"))) << entry.path();
    }
    EXPECT_EQ(pictures, 24);
    cairo_surface_t* image = cairo_image_surface_create_from_png((dir / "voice.png").c_str());
    ASSERT_EQ(cairo_surface_status(image), CAIRO_STATUS_SUCCESS);
    EXPECT_EQ(cairo_image_surface_get_width(image), 772);
    EXPECT_EQ(cairo_image_surface_get_height(image), 598);
    cairo_surface_destroy(image);

    std::stringstream voice, lfo;
    voice << std::ifstream(dir / "voice.json").rdbuf();
    lfo << std::ifstream(dir / "modulators-lfo3.json").rdbuf();
    // The macro knob where the panel puts it, and the page and instance buttons that lead to a view.
    testing::HeadlessEditor ed;
    const ui::Rect knob = ed.main().macroKnob(0).windowRect();
    std::ostringstream expected;
    expected << "{\"label\": \"Macro1\", \"kind\": \"knob\", \"params\": [" << kParamMacro1 << "], \"x\": " << knob.x
             << ", \"y\": " << knob.y << ", \"w\": " << knob.w << ", \"h\": " << knob.h
             << ", \"page\": \"Voice\", \"instance\": \"\"}";
    EXPECT_NE(voice.str().find(expected.str()), std::string::npos) << voice.str().substr(0, 2000);
    EXPECT_NE(voice.str().find("\"kind\": \"spectrum\""), std::string::npos);
    EXPECT_NE(lfo.str().find("\"instance\": \"Lfo3\""), std::string::npos);
    EXPECT_EQ(lfo.str().find("\"instanceButton\": null"), std::string::npos);
    fs::remove_all(dir);
}
#endif

TEST(Knob, DragsDoubleClicksAndTheWheelEditThroughTheBinding) {
    testing::HeadlessEditor ed;
    Knob& knob = ed.main().macroKnob(3);
    const int index = kParamMacro1 + 3;
    const ui::Point c = testing::HeadlessEditor::centre(knob);
    ed.drag(c, {c.x, c.y - 40});  // 40 px at 0.5 % of the range
    EXPECT_NEAR(ed.model().number(index), 0.2f, 1e-5f);
    ed.root().pointerWheel(c, 2, 0);  // 1 % per notch
    EXPECT_NEAR(ed.model().number(index), 0.22f, 1e-5f);
    ed.drag(c, {c.x, c.y + 400});  // clamped at the minimum
    EXPECT_EQ(ed.model().number(index), 0.0f);
    ed.drag(c, {c.x + 30, c.y - 30});  // right and up both raise
    EXPECT_NEAR(ed.model().number(index), 0.3f, 1e-5f);
    // A double-click sets the default (0).
    ed.root().pointerPress(c, ui::MouseButton::Left, 0, 50000);
    ed.root().pointerRelease(c, ui::MouseButton::Left, 0);
    ed.root().pointerPress(c, ui::MouseButton::Left, 0, 50100);
    ed.root().pointerRelease(c, ui::MouseButton::Left, 0);
    EXPECT_EQ(ed.model().number(index), 0.0f);
    // Every drag is bracketed by begin and end of the edit, and every change was reported.
    int open = 0;
    for (int32_t e : ed.host.edits) {
        open += e > 0 ? 1 : -1;
        EXPECT_TRUE(open == 0 || open == 1);
        EXPECT_EQ(std::abs(e) - 1, index);
    }
    EXPECT_EQ(open, 0);
    EXPECT_FALSE(ed.host.reports.empty());
    for (int32_t r : ed.host.reports) EXPECT_EQ(r, index);
}

}  // namespace
}  // namespace quenvale::editor
