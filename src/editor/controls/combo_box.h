// An editable combo box: a text field and a drop-down button. Dropping down asks for the items afresh
// (the program list is refilled each time), shows them as a popup menu under the field, and reports the
// chosen index.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "editor/controls/button.h"
#include "editor/controls/text_field.h"
#include "editor/ui/panel.h"

namespace quenvale::editor {

class ComboBox : public ui::Panel {
public:
    ComboBox(ui::Rect bounds, size_t maxLength);

    TextField& field() noexcept { return *field_; }
    Button& dropButton() noexcept { return *drop_; }
    // Items and the selected index, asked for at every drop-down.
    void setItemSource(std::function<std::vector<std::string>()> items, std::function<int()> selected) {
        items_ = std::move(items);
        selected_ = std::move(selected);
    }
    void setOnSelect(std::function<void(int)> fn) { onSelect_ = std::move(fn); }
    // Opens the list (as the drop button does).
    void dropDown();
    const char* kind() const override { return "combo"; }

private:
    TextField* field_ = nullptr;
    Button* drop_ = nullptr;
    std::function<std::vector<std::string>()> items_;
    std::function<int()> selected_;
    std::function<void(int)> onSelect_;
};

}  // namespace quenvale::editor
