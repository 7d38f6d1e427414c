// The in-window file chooser, used when no external dialog program is installed: a folder listing
// filtered by the extension, a name field, and a confirmation before an existing file is overwritten.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "editor/overlays/file_dialogs.h"
#include "editor/ui/overlay.h"

namespace quenvale::editor {

class Button;
class TextField;

class FileChooser : public ui::Overlay {
public:
    // done gets the chosen path, or "" when cancelled.
    FileChooser(const FileRequest& request, std::string folder, std::function<void(const std::string&)> done);

    // The folder shown and its entries ("../" first, then folders with a trailing "/", then matching files).
    const std::string& folder() const noexcept { return folder_; }
    const std::vector<std::string>& entries() const noexcept { return entries_; }
    void openFolder(const std::string& folder);
    // Chooses an entry as a click does (a folder opens, a file's name goes into the name field).
    void pick(size_t entry);
    TextField& nameField() noexcept { return *name_; }
    Button& acceptButton() noexcept { return *accept_; }
    Button& cancelButton() noexcept { return *cancel_; }
    // The accept button's action: checks the name, asks before overwriting, then answers.
    void accept();

    bool mouseDown(const ui::MouseEvent& e) override;
    bool mouseWheel(const ui::MouseEvent& e) override;
    bool keyDown(const ui::KeyEvent& key) override;
    void paint(cairo_t* cr) override;
    const char* kind() const override { return "filechooser"; }

private:
    void finish(const std::string& path);
    ui::Rect listRect() const noexcept;
    int visibleRows() const noexcept;

    FileRequest request_;
    std::string folder_;
    std::vector<std::string> entries_;
    int scroll_ = 0;
    int selected_ = -1;
    std::function<void(const std::string&)> done_;
    TextField* name_ = nullptr;
    Button* accept_ = nullptr;
    Button* cancel_ = nullptr;
};

}  // namespace quenvale::editor
