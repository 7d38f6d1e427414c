// Message boxes drawn inside the editor window: a title, a text of one or more lines, an icon and the
// buttons "OK", "Yes", "No", "Cancel". Enter chooses the first button, Escape the last (Cancel or No).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "editor/ui/overlay.h"

namespace quenvale::ui {
class RootView;
}

namespace quenvale::editor {

class Button;

enum class MessageIcon { None, Information, Warning, Error, Question };
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MessageResult { Ok, Cancel, Yes, No };

class MessageBox : public ui::Overlay {
public:
    using DoneFn = std::function<void(MessageResult)>;
    MessageBox(std::string text, std::string title, MessageIcon icon, MessageButtons buttons, DoneFn done);

    bool keyDown(const ui::KeyEvent& key) override;
    void paint(cairo_t* cr) override;
    const char* kind() const override { return "messagebox"; }

    const std::string& text() const noexcept { return text_; }
    const std::string& title() const noexcept { return title_; }
    MessageIcon icon() const noexcept { return icon_; }
    // The buttons in order, for tests and the screenshot maps.
    const std::vector<Button*>& buttons() const noexcept { return buttons_; }
    void answer(MessageResult result);

private:
    std::string text_;
    std::string title_;
    MessageIcon icon_;
    std::vector<Button*> buttons_;
    std::vector<MessageResult> results_;
    DoneFn done_;
};

// Opens a message box on root; done (if any) gets the answer.
MessageBox& showMessage(ui::RootView& root, std::string text, std::string title, MessageIcon icon,
                        MessageButtons buttons = MessageButtons::Ok, MessageBox::DoneFn done = {});

}  // namespace quenvale::editor
