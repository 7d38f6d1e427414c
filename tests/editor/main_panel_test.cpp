// The main panel without a display: program list, unsaved-changes question, store buttons, Store To,
// bank files through the in-window chooser, partial count, the timer's duties and the binding.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "editor/controls/button.h"
#include "editor/controls/combo_box.h"
#include "editor/controls/knob.h"
#include "editor/controls/level_meter.h"
#include "editor/controls/text_field.h"
#include "editor/overlays/file_chooser.h"
#include "editor/overlays/message_box.h"
#include "editor/overlays/popup_menu.h"
#include "editor/overlays/store_to_dialog.h"
#include "editor_test_support.h"
#include "engine/spectrum/generator.h"
#include "params/parameter_index.h"
#include "persist/whole_file.h"

namespace quenvale::editor {
namespace {

using testing::HeadlessEditor;
namespace fs = std::filesystem;

template <typename T>
T* top(HeadlessEditor& ed) {
    return dynamic_cast<T*>(ed.root().topOverlay());
}

// Drags a macro knob upwards by pixels (an edit through the binding) and runs a tick.
void editMacro(HeadlessEditor& ed, int macro, int pixels) {
    const ui::Point c = HeadlessEditor::centre(ed.main().macroKnob(macro));
    ed.drag(c, {c.x, c.y - pixels});
    ed.tick();
}

// Chooses a program through the list's drop-down menu.
void chooseProgram(HeadlessEditor& ed, int program) {
    ed.main().programList().dropDown();
    auto* menu = top<PopupMenu>(ed);
    ASSERT_NE(menu, nullptr);
    const ui::Rect item = menu->itemRect({program});
    ed.clickAt({item.x + item.w / 2, item.y + item.h / 2});
}

TEST(MainPanel, TheFirstTickWritesTheVoiceCountAndStoreFollowsChanged) {
    HeadlessEditor ed;
    ed.tick();
    EXPECT_EQ(ed.main().voiceCount().label(), "0");
    EXPECT_FALSE(ed.main().storeButton().enabled());
    editMacro(ed, 0, 20);
    EXPECT_TRUE(ed.main().changed());
    EXPECT_TRUE(ed.main().storeButton().enabled());
    ed.click(ed.main().storeButton());
    ed.tick();
    EXPECT_FALSE(ed.main().changed());
    EXPECT_FALSE(ed.main().storeButton().enabled());
    EXPECT_FLOAT_EQ(valueAsFloat(ed.engine.programParameterValue(0, kParamMacro1)), ed.model().number(kParamMacro1));
}

TEST(MainPanel, SwitchingProgramsAsksOnlyAfterEditsAndEachAnswerDoesItsPart) {
    struct Case {
        MessageResult answer;
        int expectedProgram;
        bool storedIntoProgram0;
    };
    const Case cases[] = {
        {MessageResult::Cancel, 0, false},
        {MessageResult::No, 3, false},
        {MessageResult::Yes, 3, true},
    };
    for (const Case& c : cases) {
        HeadlessEditor ed;
        ed.engine.setProgramName(3, "Three");
        chooseProgram(ed, 2);  // no edits: no question
        EXPECT_EQ(ed.root().overlayCount(), 0u);
        EXPECT_EQ(ed.engine.currentProgram(0), 2);
        chooseProgram(ed, 0);
        editMacro(ed, 1, 30);
        const float edited = ed.model().number(kParamMacro1 + 1);
        chooseProgram(ed, 3);
        auto* box = top<MessageBox>(ed);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->text(), "Some parameters were changed !\nDo you want to store them into the current program ?");
        EXPECT_EQ(box->icon(), MessageIcon::Question);
        box->answer(c.answer);
        ed.tick();
        EXPECT_EQ(ed.engine.currentProgram(0), c.expectedProgram);
        EXPECT_EQ(ed.main().programList().field().text(), c.expectedProgram == 3 ? "Three" : "Program 001");
        const float stored = valueAsFloat(ed.engine.programParameterValue(0, kParamMacro1 + 1));
        EXPECT_EQ(stored == edited, c.storedIntoProgram0);
        EXPECT_EQ(ed.main().changed(), c.answer == MessageResult::Cancel);
    }
}

TEST(MainPanel, StoreToStoresIntoAndSelectsTheChosenProgramOrTheCurrentOneWithoutAChoice) {
    for (int chosen : {5, -1}) {
        HeadlessEditor ed;
        editMacro(ed, 2, 40);
        const float edited = ed.model().number(kParamMacro1 + 2);
        ed.click(ed.main().storeToButton());
        auto* dialog = top<StoreToDialog>(ed);
        ASSERT_NE(dialog, nullptr);
        if (chosen >= 0) {
            ed.click(dialog->listButton());
            auto* menu = top<PopupMenu>(ed);
            ASSERT_NE(menu, nullptr);
            const ui::Rect item = menu->itemRect({chosen});
            ed.clickAt({item.x + item.w / 2, item.y + item.h / 2});
            EXPECT_EQ(dialog->chosen(), chosen);
        }
        ed.click(dialog->okButton());
        const int target = chosen >= 0 ? chosen : 0;
        EXPECT_EQ(ed.engine.currentProgram(0), target);
        EXPECT_FLOAT_EQ(valueAsFloat(ed.engine.programParameterValue(target, kParamMacro1 + 2)), edited);
        EXPECT_FALSE(ed.main().changed());
    }
}

TEST(MainPanel, TypingInTheProgramListRenamesTheCurrentProgramUpToSixteenCharacters) {
    HeadlessEditor ed;
    TextField& field = ed.main().programList().field();
    ed.click(field);
    for (int i = 0; i < 16; ++i) ed.root().keyPress({ui::Key::Backspace, "", 0});
    for (char c : std::string("A very long program name")) ed.root().keyPress({ui::Key::Character, std::string(1, c), 0});
    char name[kNameFieldSize];
    EXPECT_STREQ(ed.engine.programName(0, name), "A very long prog");
    EXPECT_EQ(field.text(), "A very long prog");
}

class BankFiles : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("quenvale-editor-banks-" + std::to_string(::getpid()));
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    // Answers the open file chooser with a name typed into its name field.
    static void answer(HeadlessEditor& ed, const std::string& path) {
        auto* chooser = top<FileChooser>(ed);
        ASSERT_NE(chooser, nullptr);
        chooser->nameField().setText(path);
        ed.click(chooser->acceptButton());
    }
    fs::path dir_;
};

TEST_F(BankFiles, ASavedBankLoadsBackAndAnUnreadableOneChangesNothing) {
    HeadlessEditor ed;
    ed.engine.setProgramName(7, "Saved Seven");
    ed.click(ed.main().saveButton());
    answer(ed, (dir_ / "bank").string());  // the extension is added
    ASSERT_TRUE(fs::exists(dir_ / "bank.qpb"));
    EXPECT_EQ(ed.root().overlayCount(), 0u);

    ed.engine.setProgramName(7, "Changed");
    ed.click(ed.main().loadButton());
    answer(ed, (dir_ / "bank.qpb").string());
    char name[kNameFieldSize];
    EXPECT_STREQ(ed.engine.programName(7, name), "Saved Seven");
    EXPECT_EQ(ed.root().overlayCount(), 0u);

    std::ofstream(dir_ / "junk.qpb") << "not a bank at all";
    ed.click(ed.main().loadButton());
    answer(ed, (dir_ / "junk.qpb").string());
    auto* box = top<MessageBox>(ed);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text(), "Bank could not be loaded !");
    EXPECT_EQ(box->title(), "Load...");
    EXPECT_EQ(box->icon(), MessageIcon::Error);
    EXPECT_STREQ(ed.engine.programName(7, name), "Saved Seven");
}

TEST_F(BankFiles, SavingOverAnExistingFileAsksFirstAndAFailedSaveSaysSo) {
    HeadlessEditor ed;
    std::ofstream(dir_ / "keep.qpb") << "old";
    ed.click(ed.main().saveButton());
    answer(ed, (dir_ / "keep.qpb").string());
    auto* question = top<MessageBox>(ed);
    ASSERT_NE(question, nullptr);
    question->answer(MessageResult::No);
    EXPECT_EQ(fs::file_size(dir_ / "keep.qpb"), 3u);

    // A folder that cannot be written: the file cannot be opened.
    fs::create_directories(dir_ / "locked");
    fs::permissions(dir_ / "locked", fs::perms::owner_read | fs::perms::owner_exec);
    ed.click(ed.main().saveButton());
    answer(ed, (dir_ / "locked" / "bank.qpb").string());
    fs::permissions(dir_ / "locked", fs::perms::owner_all);
    if (fs::exists(dir_ / "locked" / "bank.qpb")) GTEST_SKIP() << "running with rights that ignore permissions";
    auto* box = top<MessageBox>(ed);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text(), "Bank could not be saved !");
    EXPECT_EQ(box->title(), "Save Bank...");
    EXPECT_EQ(box->icon(), MessageIcon::Error);
}

TEST(MainPanel, PartialCountButtonsSetTheGeneratorAndMarkTheProgramChanged) {
    HeadlessEditor ed;
    for (int choice : {3, 0, 2}) {
        ed.click(ed.main().partialButton(choice));
        EXPECT_EQ(ed.engine.channel().generator->partialCountIndex(), choice);
        for (int i = 0; i < 4; ++i) EXPECT_EQ(ed.main().partialButton(i).checked(), i == choice);
        EXPECT_TRUE(ed.main().changed());
    }
}

TEST(MainPanel, HostAutomationAndProgramChangesReachTheControlsWithinATick) {
    HeadlessEditor ed;
    Knob& gain = ed.main().gainKnob();
    ed.engine.setParameterNormalized(0, kParamMasterGain, 0.25f);  // 0 … 2: 0.5
    EXPECT_NE(gain.value(), 0.5f);
    ed.tick();
    EXPECT_FLOAT_EQ(gain.value(), 0.5f);
    EXPECT_EQ(gain.label(), "Gain");
    EXPECT_TRUE(ed.main().changed());
    EXPECT_TRUE(ed.host.reports.empty());  // not reported back to the host

    // A program change from elsewhere (the host, MIDI) clears `changed` and refills the list.
    ed.engine.setProgramName(9, "Nine");
    ed.engine.selectProgram(0, 9, true);
    ed.tick();
    EXPECT_FALSE(ed.main().changed());
    EXPECT_EQ(ed.main().programList().field().text(), "Nine");
    EXPECT_FLOAT_EQ(gain.value(), ed.model().number(kParamMasterGain));
}

TEST(MainPanel, TheMeterFollowsThePeaksOnEachTick) {
    HeadlessEditor ed;
    // The demo bank's first sound (the default programs are silent).
    std::vector<uint8_t> bank;
    ASSERT_TRUE(readWholeFile(QUENVALE_SOURCE_DIR "/examples/demo.qpb", bank));
    ASSERT_TRUE(ed.host.readBank(bank.data(), bank.size()));
    std::vector<float> left(512), right(512);
    const MidiEntry note{0x90, 60, 127, 0};
    ed.engine.processMidi(&note, 1);
    for (int i = 0; i < 8; ++i) ed.engine.render(left.data(), right.data(), 512);
    ed.tick();
    EXPECT_GT(ed.main().meter().barPixels(0), 0);
    EXPECT_EQ(ed.main().voiceCount().label(), "1");
}

}  // namespace
}  // namespace quenvale::editor
