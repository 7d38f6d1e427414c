// Choosing a file to save or load, without blocking: the answer comes later, on the editor thread.
#pragma once

#include <functional>
#include <memory>
#include <string>

namespace quenvale::ui {
class RootView;
}

namespace quenvale::editor {

struct FileRequest {
    bool save = false;           // save: ask before overwriting, the folder must exist
    std::string title;           // "Save Bank...", "Load..."
    std::string extension;       // default extension without the dot: "qpb"
    std::string filterName;      // "Quenvale Preset Banks (*.qpb)"
};

class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    // [editor thread] Asks for a file; done runs later on the editor thread with the chosen path, or with ""
    // when the user cancelled. One request at a time: a request while one is open is answered "" at once.
    virtual void choose(const FileRequest& request, std::function<void(const std::string&)> done) = 0;
    // [editor thread] The timer's call: collects the answer of an external dialog when it has come.
    virtual void poll() {}
    // [editor thread] Drops an open request without answering it (the window is closing).
    virtual void cancel() {}
    // [editor thread] Whether a request is open.
    virtual bool busy() const = 0;
};

// An external dialog program (zenity, kdialog) when one is installed and allowed, the in-window chooser
// otherwise (always, for tests).
std::unique_ptr<FileDialogs> makeFileDialogs(ui::RootView& root, bool allowExternal = true);

}  // namespace quenvale::editor
