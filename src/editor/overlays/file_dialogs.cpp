// File choosing: an external dialog program when one is installed, the in-window chooser otherwise.
#include "editor/overlays/file_dialogs.h"

#include <cstdlib>
#include <filesystem>

#include "editor/overlays/file_chooser.h"
#include "editor/platform/posix/dialog_process.h"
#include "editor/ui/root_view.h"

namespace quenvale::editor {

namespace {

class StandardFileDialogs final : public FileDialogs {
public:
    StandardFileDialogs(ui::RootView& root, bool allowExternal) : root_(root), allowExternal_(allowExternal) {}

    void choose(const FileRequest& request, std::function<void(const std::string&)> done) override {
        if (busy()) {
            done("");
            return;
        }
        request_ = request;
        const std::string program = allowExternal_ ? DialogProcess::findProgram() : std::string();
        if (!program.empty() && process_.start(DialogProcess::arguments(program, request.save, request.title,
                                                                          request.extension, request.filterName))) {
            pending_ = std::move(done);
            return;
        }
        chooserOpen_ = true;
        root_.openOverlay(std::make_unique<FileChooser>(request, startFolder(), [this, done](const std::string& path) {
            chooserOpen_ = false;
            remember(path);
            done(path);
        }));
    }

    void poll() override {
        if (!process_.running()) return;
        std::optional<std::string> path = process_.poll();
        if (!path) return;
        std::string chosen = *path;
        // The save dialogs do not add the default extension themselves.
        if (request_.save && !chosen.empty() && std::filesystem::path(chosen).extension().empty())
            chosen += "." + request_.extension;
        remember(chosen);
        auto done = std::move(pending_);
        pending_ = nullptr;
        if (done) done(chosen);
    }

    void cancel() override {
        process_.stop();
        pending_ = nullptr;
        chooserOpen_ = false;
    }

    bool busy() const override { return process_.running() || chooserOpen_; }

private:
    std::string startFolder() const {
        if (!lastFolder_.empty()) return lastFolder_;
        const char* home = std::getenv("HOME");
        return home != nullptr ? home : ".";
    }
    void remember(const std::string& path) {
        if (!path.empty()) lastFolder_ = std::filesystem::path(path).parent_path().string();
    }

    ui::RootView& root_;
    bool allowExternal_;
    DialogProcess process_;
    FileRequest request_;
    std::function<void(const std::string&)> pending_;
    bool chooserOpen_ = false;
    std::string lastFolder_;
};

}  // namespace

std::unique_ptr<FileDialogs> makeFileDialogs(ui::RootView& root, bool allowExternal) {
    return std::make_unique<StandardFileDialogs>(root, allowExternal);
}

}  // namespace quenvale::editor
