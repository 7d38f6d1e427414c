// Until the chooser exists: every request is answered as cancelled.
#include "editor/overlays/file_dialogs.h"

namespace quenvale::editor {

namespace {
class CancelAll final : public FileDialogs {
public:
    void choose(const FileRequest&, std::function<void(const std::string&)> done) override { done(""); }
    bool busy() const override { return false; }
};
}  // namespace

std::unique_ptr<FileDialogs> makeFileDialogs(ui::RootView&) {
    return std::make_unique<CancelAll>();
}

}  // namespace quenvale::editor
