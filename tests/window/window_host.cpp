// The window tests' host: plug-in loading, callbacks, parent window, control maps.
#include <dirent.h>

#include <cstdio>
#include <cstring>
#include <sstream>

#include "control_map.h"
#include "editor/editor.h"
#include "editor/model/direct_editor_host.h"
#include "editor/panels/gui_main.h"
#include "engine/synth_engine.h"
// Last: it includes Xlib.
#include "window_host.h"

namespace quenvale::window_test {

CallbackRecord& WindowHost::record() {
    static CallbackRecord r;
    return r;
}

VstIntPtr VSTCALLBACK WindowHost::callback(AEffect*, VstInt32 opcode, VstInt32 index, VstIntPtr, void*, float opt) {
    switch (opcode) {
        case audioMasterVersion:
            return 2400;
        case audioMasterAutomate:
        case audioMasterBeginEdit:
        case audioMasterEndEdit:
            record().add({opcode, index, opt});
            return 1;
        default:
            return 0;
    }
}

WindowHost::WindowHost(Display* display) : display_(display) {
    library_ = host::PluginLibrary::open(QUENVALE_PLUGIN_PATH, error_);
    if (!library_) return;
    effect_ = library_->entry()(&WindowHost::callback);
    if (effect_ == nullptr) {
        error_ = "VSTPluginMain returned no effect";
        return;
    }
    dispatch(effOpen);
    dispatch(effSetSampleRate, 0, 0, nullptr, 44100.0f);
    dispatch(effSetBlockSize, 0, 512);
    dispatch(effMainsChanged, 0, 1);
    if (display_ != nullptr) {
        parent_ = XCreateSimpleWindow(display_, DefaultRootWindow(display_), 0, 0, 800, 640, 0, 0, 0);
        XMapWindow(display_, parent_);
        XSync(display_, False);
    }
}

WindowHost::~WindowHost() {
    if (effect_ != nullptr) {
        dispatch(effEditClose);
        dispatch(effMainsChanged, 0, 0);
        dispatch(effClose);
    }
    if (display_ != nullptr && parent_ != 0) {
        XDestroyWindow(display_, parent_);
        XSync(display_, False);
    }
}

VstIntPtr WindowHost::dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) {
    return effect_->dispatcher(effect_, opcode, index, value, ptr, opt);
}

void WindowHost::render(float* left, float* right, VstInt32 frames) {
    float* outputs[2] = {left, right};
    effect_->processReplacing(effect_, nullptr, outputs, frames);
}

void WindowHost::noteOn(int note) {
    VstMidiEvent event{};
    event.type = kVstMidiType;
    event.byteSize = static_cast<VstInt32>(sizeof event);
    event.midiData[0] = static_cast<char>(0x90);
    event.midiData[1] = static_cast<char>(note);
    event.midiData[2] = 100;
    VstEvents list{};
    list.numEvents = 1;
    list.events[0] = reinterpret_cast<VstEvent*>(&event);
    dispatch(effProcessEvents, 0, 0, &list);
}

std::vector<Window> WindowHost::children() {
    Window root = 0, parent = 0, *kids = nullptr;
    unsigned int count = 0;
    std::vector<Window> out;
    if (XQueryTree(display_, parent_, &root, &parent, &kids, &count) != 0 && kids != nullptr) {
        out.assign(kids, kids + count);
        XFree(kids);
    }
    return out;
}

Rect findControl(int page, const std::string& label, const std::string& kind) {
    SynthEngine engine;
    editor::DirectEditorHost host(engine);
    editor::Editor editor(engine, host, false);
    editor.setHeadlessVisible(true);
    editor.main().showPage(page);
    const std::string json = editor::controlMapJson(editor.root(), "map", "", "", nullptr, nullptr);
    const std::string key = "{\"label\": " + editor::jsonString(label) + ", \"kind\": " + editor::jsonString(kind) + ",";
    std::istringstream lines(json);
    std::string line;
    while (std::getline(lines, line)) {
        const size_t at = line.find(key);
        if (at == std::string::npos) continue;
        const size_t geometry = line.find("\"x\":", at);
        Rect r;
        if (geometry != std::string::npos &&
            std::sscanf(line.c_str() + geometry, "\"x\": %d, \"y\": %d, \"w\": %d, \"h\": %d", &r.x, &r.y, &r.w, &r.h) == 4)
            return r;
    }
    return {};
}

int threadCount() {
    int count = 0;
    if (DIR* dir = opendir("/proc/self/task")) {
        while (dirent* entry = readdir(dir))
            if (entry->d_name[0] != '.') ++count;
        closedir(dir);
    }
    return count;
}

}  // namespace quenvale::window_test
