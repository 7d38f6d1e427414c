// "Store To...": a list of the 128 programs to choose from, OK and Cancel. OK reports the chosen
// program, or −1 when none was chosen (the caller then stores into the current program).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "editor/ui/dialog_overlay.h"

namespace quenvale::editor {

class Button;

class StoreToDialog : public ui::DialogOverlay {
public:
    StoreToDialog(std::vector<std::string> programNames, std::function<void(int)> onOk);

    // Chooses a program as the list's menu does (tests).
    void choose(int program);
    int chosen() const noexcept { return chosen_; }
    Button& listButton() noexcept { return *list_; }
    Button& okButton() noexcept { return *ok_; }
    Button& cancelButton() noexcept { return *cancel_; }

    const char* kind() const override { return "storeto"; }

private:
    void openList();

    std::vector<std::string> names_;
    std::function<void(int)> onOk_;
    int chosen_ = -1;
    Button* list_ = nullptr;
    Button* ok_ = nullptr;
    Button* cancel_ = nullptr;
};

}  // namespace quenvale::editor
