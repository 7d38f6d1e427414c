// The in-window chooser: listing, picking, the name field and the overwrite question.
#include "editor/overlays/file_chooser.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "editor/controls/button.h"
#include "editor/controls/text_field.h"
#include "editor/overlays/message_box.h"
#include "editor/ui/draw.h"
#include "editor/ui/root_view.h"

namespace quenvale::editor {

using namespace ui;
namespace fs = std::filesystem;

namespace {
constexpr Rect kBox{96, 40, 580, 518};
constexpr int kRow = 18;
constexpr int kTitleHeight = 24;

bool hasExtension(const std::string& name, const std::string& extension) {
    const std::string dotted = "." + extension;
    if (name.size() <= dotted.size()) return false;
    std::string tail = name.substr(name.size() - dotted.size());
    std::transform(tail.begin(), tail.end(), tail.begin(), [](unsigned char c) { return std::tolower(c); });
    return tail == dotted;
}
}  // namespace

FileChooser::FileChooser(const FileRequest& request, std::string folder, std::function<void(const std::string&)> done)
    : Overlay(kBox), request_(request), done_(std::move(done)) {
    setLabel(request.title);
    name_ = &add<TextField>(Rect{kBox.x + 60, kBox.bottom() - 64, kBox.w - 76, theme::kButtonHeight}, 255);
    accept_ = &add<Button>(Rect{kBox.right() - 176, kBox.bottom() - 32, 76, theme::kButtonHeight},
                           request.save ? "Save" : "Open", [this] { accept(); });
    cancel_ = &add<Button>(Rect{kBox.right() - 92, kBox.bottom() - 32, 76, theme::kButtonHeight}, "Cancel",
                           [this] { finish(""); });
    openFolder(folder);
}

Rect FileChooser::listRect() const noexcept {
    return {kBox.x + 16, kBox.y + kTitleHeight + 28, kBox.w - 32, kBox.h - kTitleHeight - 28 - 76};
}

int FileChooser::visibleRows() const noexcept {
    return listRect().h / kRow;
}

void FileChooser::openFolder(const std::string& folder) {
    std::error_code error;
    fs::path path = fs::weakly_canonical(fs::path(folder.empty() ? "." : folder), error);
    if (error || !fs::is_directory(path, error)) path = fs::current_path(error);
    folder_ = path.string();
    entries_.clear();
    std::vector<std::string> folders, files;
    for (fs::directory_iterator it(path, fs::directory_options::skip_permission_denied, error), end; !error && it != end;
         it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (name.empty() || name[0] == '.') continue;
        std::error_code typeError;
        if (it->is_directory(typeError))
            folders.push_back(name + "/");
        else if (hasExtension(name, request_.extension))
            files.push_back(name);
    }
    std::sort(folders.begin(), folders.end());
    std::sort(files.begin(), files.end());
    if (path.has_parent_path() && path.parent_path() != path) entries_.push_back("../");
    entries_.insert(entries_.end(), folders.begin(), folders.end());
    entries_.insert(entries_.end(), files.begin(), files.end());
    scroll_ = 0;
    selected_ = -1;
    invalidate();
}

void FileChooser::pick(size_t entry) {
    if (entry >= entries_.size()) return;
    const std::string& name = entries_[entry];
    if (name == "../") {
        openFolder(fs::path(folder_).parent_path().string());
    } else if (name.back() == '/') {
        openFolder((fs::path(folder_) / name.substr(0, name.size() - 1)).string());
    } else {
        selected_ = static_cast<int>(entry);
        name_->setText(name);
        invalidate();
    }
}

void FileChooser::accept() {
    std::string name = name_->text();
    if (name.empty()) return;
    if (request_.save && !hasExtension(name, request_.extension)) name += "." + request_.extension;
    const fs::path path = fs::path(name).is_absolute() ? fs::path(name) : fs::path(folder_) / name;
    std::error_code error;
    const bool exists = fs::exists(path, error);
    if (!request_.save) {
        if (!exists) {
            showMessage(*root(), path.filename().string() + "\nFile not found.\nPlease verify the correct file name was given.",
                        request_.title, MessageIcon::Warning);
            return;
        }
        finish(path.string());
        return;
    }
    if (!fs::is_directory(path.parent_path(), error)) {
        showMessage(*root(), path.parent_path().string() + "\nThe folder does not exist.", request_.title,
                    MessageIcon::Warning);
        return;
    }
    if (exists) {
        const std::string chosen = path.string();
        showMessage(*root(), path.filename().string() + " already exists.\nDo you want to replace it?", request_.title,
                    MessageIcon::Warning, MessageButtons::YesNo, [this, chosen](MessageResult answer) {
                        if (answer == MessageResult::Yes) finish(chosen);
                    });
        return;
    }
    finish(path.string());
}

void FileChooser::finish(const std::string& path) {
    auto done = std::move(done_);
    close();
    if (done) done(path);
}

bool FileChooser::mouseDown(const MouseEvent& e) {
    const Rect list = listRect();
    if (!list.contains(e.pos)) return Overlay::mouseDown(e);
    const size_t entry = static_cast<size_t>((e.pos.y - list.y) / kRow + scroll_);
    if (entry >= entries_.size()) return true;
    const bool isFile = entries_[entry].back() != '/';
    pick(entry);
    if (isFile && e.clickCount == 2) accept();
    return true;
}

bool FileChooser::mouseWheel(const MouseEvent& e) {
    const int most = std::max(0, static_cast<int>(entries_.size()) - visibleRows());
    scroll_ = std::clamp(scroll_ - 3 * e.wheelSteps, 0, most);
    invalidate();
    return true;
}

bool FileChooser::keyDown(const KeyEvent& key) {
    if (key.key == Key::Escape) {
        finish("");
        return true;
    }
    if (key.key == Key::Enter) {
        accept();
        return true;
    }
    return false;
}

void FileChooser::paint(cairo_t* cr) {
    draw::fillRect(cr, localBounds(), theme::kOverlayShade);
    paintBackground(cr);
    const Rect box = content();
    draw::fillRect(cr, {box.x + 1, box.y + 1, box.w - 2, kTitleHeight}, theme::kHeaderBackground);
    draw::text(cr, {box.x + 10, box.y, box.w - 20, kTitleHeight}, label(), theme::kText, draw::Align::Left,
               theme::kTitleFontSize, true);
    draw::text(cr, {box.x + 16, box.y + kTitleHeight + 4, box.w - 32, 20}, folder_, theme::kTextDim);
    const Rect list = listRect();
    draw::fillRect(cr, list, theme::kFieldBackground);
    for (int row = 0; row < visibleRows(); ++row) {
        const int entry = row + scroll_;
        if (entry >= static_cast<int>(entries_.size())) break;
        const Rect r{list.x, list.y + row * kRow, list.w, kRow};
        if (entry == selected_) draw::fillRect(cr, r, theme::kSelection);
        const bool folder = entries_[entry].back() == '/';
        draw::text(cr, {r.x + 6, r.y, r.w - 12, r.h}, entries_[entry], folder ? theme::kFrameTitle : theme::kText);
    }
    draw::strokeRect(cr, list, theme::kControlBorder);
    draw::text(cr, {box.x + 16, box.bottom() - 64, 44, theme::kButtonHeight}, "Name", theme::kTextDim);
    draw::text(cr, {box.x + 16, box.bottom() - 32, box.w - 200, theme::kButtonHeight}, request_.filterName,
               theme::kTextDim, draw::Align::Left, theme::kSmallFontSize);
    paintChildren(cr);
}

}  // namespace quenvale::editor
