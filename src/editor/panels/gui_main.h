// The main panel: program list and store buttons, bank save and load, partial count, page buttons,
// macro knobs and "Gain", voice count and level meter, and the page frame holding the three pages.
#pragma once

#include <array>
#include <functional>
#include <string>

#include "editor/panels/editor_context.h"
#include "editor/panels/page.h"
#include "editor/ui/panel.h"

namespace quenvale::editor {

class Button;
class ComboBox;
class Knob;
class Label;
class LevelMeter;

class GuiMain : public ui::Panel, public GuiMainSink {
public:
    static constexpr int kPageCount = 3;
    static constexpr int kPartialChoices = 4;

    // The texts of the main panel's questions and failures.
    static constexpr const char* kUnsavedQuestion =
        "Some parameters were changed !\nDo you want to store them into the current program ?";
    static constexpr const char* kBankSaveFailed = "Bank could not be saved !";
    static constexpr const char* kBankLoadFailed = "Bank could not be loaded !";
    static constexpr const char* kSaveTitle = "Save Bank...";
    static constexpr const char* kLoadTitle = "Load...";
    static constexpr const char* kBankFilter = "Quenvale Preset Banks (*.qpb)";

    // Builds the panel tree inside root (the panel is root's child).
    GuiMain(EditorModel& model, ui::RootView& root, FileDialogs& files);
    ~GuiMain() override;

    // [editor thread] The host opened (true) or closed (false) the editor: refills the program list and,
    // on opening, reads every bound control from the engine.
    void setVisible(bool visible);
    bool editorVisible() const noexcept { return visible_; }
    // The 20 ms timer: voice count, meter, "< Store" state, dirty-set flush.
    void timerTick();

    void showPage(int page);
    int currentPage() const noexcept { return page_; }
    Page& page(int index) noexcept { return *pages_[index]; }
    Button& pageButton(int index) noexcept { return *pageButtons_[index]; }

    // ---- the main panel's commands (also reached through its buttons) ------------------------------
    void selectProgram(int program);
    void store();
    void storeTo();
    void saveBank();
    void loadBank();
    void setPartialCount(int choice);

    bool changed() const noexcept { return changed_; }
    void programEdited() override;

    // Widgets, for tests and the screenshot tool.
    ComboBox& programList() noexcept { return *programList_; }
    Button& storeButton() noexcept { return *store_; }
    Button& storeToButton() noexcept { return *storeTo_; }
    Button& saveButton() noexcept { return *save_; }
    Button& loadButton() noexcept { return *load_; }
    Button& partialButton(int choice) noexcept { return *partials_[choice]; }
    Knob& macroKnob(int macro) noexcept { return *macros_[macro]; }
    Knob& gainKnob() noexcept { return *gain_; }
    Label& voiceCount() noexcept { return *voiceCount_; }
    LevelMeter& meter() noexcept { return *meter_; }

    EditorContext& context() noexcept { return context_; }

private:
    void buildHeader();
    void setChanged(bool changed);
    // Runs proceed when there are no unsaved changes or the user answered Yes (after storing) or No;
    // Cancel refills the program list and runs nothing.
    void checkUnsaved(std::function<void()> proceed);
    void refillProgramList();
    // After this panel selected a program itself: the program-changed notice is taken at once, so an
    // edit right after it (before the next tick) is not cleared by it.
    void programSelectedHere();
    void updatePartialButtons();
    void writeBankFile(const std::string& path);
    void readBankFile(const std::string& path);

    EditorContext context_;
    std::array<Page*, kPageCount> pages_{};
    std::array<Button*, kPageCount> pageButtons_{};
    ComboBox* programList_ = nullptr;
    Button* store_ = nullptr;
    Button* storeTo_ = nullptr;
    Button* save_ = nullptr;
    Button* load_ = nullptr;
    std::array<Button*, kPartialChoices> partials_{};
    std::array<Knob*, 6> macros_{};
    Knob* gain_ = nullptr;
    Label* voiceCount_ = nullptr;
    LevelMeter* meter_ = nullptr;
    int page_ = 0;
    int lastVoiceCount_ = -1;
    bool visible_ = false;
    bool changed_ = false;
    bool refreshStore_ = true;
};

}  // namespace quenvale::editor
