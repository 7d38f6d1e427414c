// A small host for the window tests: the built plug-in through its ABI, a parent window on a real X
// server, a thread-safe record of the host callbacks, and the editor's control maps.
#pragma once

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "plugin/vst2_abi.h"
#include "plugin_library.h"

// Last: Xlib's macros (None, Bool, Status) clash with names in the headers above.
#include <X11/Xlib.h>

namespace quenvale::window_test {

struct Rect {
    int x = 0, y = 0, w = 0, h = 0;
};

// What the plug-in told the host, from any thread.
class CallbackRecord {
public:
    struct Call {
        VstInt32 opcode;
        VstInt32 index;
        float value;
    };
    void add(const Call& call) {
        std::lock_guard lock(mutex_);
        calls_.push_back(call);
    }
    std::vector<Call> calls() const {
        std::lock_guard lock(mutex_);
        return calls_;
    }
    void clear() {
        std::lock_guard lock(mutex_);
        calls_.clear();
    }

private:
    mutable std::mutex mutex_;
    std::vector<Call> calls_;
};

class WindowHost {
public:
    // Loads the plug-in and makes an instance; the display may be null (then no parent window).
    explicit WindowHost(Display* display);
    ~WindowHost();

    bool ready() const noexcept { return effect_ != nullptr; }
    const std::string& error() const noexcept { return error_; }
    VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr, float opt = 0.0f);
    void setParameter(VstInt32 index, float value) { effect_->setParameter(effect_, index, value); }
    float getParameter(VstInt32 index) { return effect_->getParameter(effect_, index); }
    void render(float* left, float* right, VstInt32 frames);
    void noteOn(int note);

    Window parent() const noexcept { return parent_; }
    void* parentHandle() const noexcept { return reinterpret_cast<void*>(static_cast<uintptr_t>(parent_)); }
    // The parent's child windows.
    std::vector<Window> children();

    static CallbackRecord& record();

private:
    static VstIntPtr VSTCALLBACK callback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                          float opt);
    Display* display_;
    Window parent_ = 0;
    std::unique_ptr<host::PluginLibrary> library_;
    AEffect* effect_ = nullptr;
    std::string error_;
};

// The rectangle of the first control with this label and kind on a page of the editor's control map
// (built in-process by the same code the screenshot tool uses); w = 0 when there is none.
Rect findControl(int page, const std::string& label, const std::string& kind);

// The number of threads of this process.
int threadCount();

}  // namespace quenvale::window_test
