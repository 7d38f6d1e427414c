// The editor's window through the built QuenvaleVST.so on a real X server (run it under xvfb-run or on a
// desktop; without a display every benchmark reports an error and measures nothing).
//
// BM_EditorOpen: effEditOpen as the host sees it, from the call to its return with the window mapped and
// painted; counters open_ms (mean), first_open_ms (the process's first open, font set-up included;
// budget 150 ms) and close_ms (effEditClose, window destroyed and thread joined).
//
// BM_EditorIdleCpu: the editor open and untouched for 3 s while an audio thread renders in real time with
// eight notes held, so the meter moves on every tick; counter editor_cpu_percent is the CPU time of the
// editor's thread over the wall time (budget: 3 % of one core).
#include <benchmark/benchmark.h>
#include <dirent.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "plugin_host.h"
#include "plugin_library.h"

// Last: Xlib's macros clash with names in the headers above.
#include <X11/Xlib.h>

namespace {

using quenvale::host::PluginHost;
using quenvale::host::PluginLibrary;
using Clock = std::chrono::steady_clock;

PluginLibrary* library(std::string& error) {
    static std::unique_ptr<PluginLibrary> lib = PluginLibrary::open(QUENVALE_PLUGIN_PATH, error);
    return lib.get();
}

struct Session {
    Display* display = nullptr;
    Window parent = 0;
    PluginHost host;
    std::string error;

    bool start() {
        display = XOpenDisplay(nullptr);
        if (display == nullptr) {
            error = "no X server (run under xvfb-run)";
            return false;
        }
        PluginLibrary* lib = library(error);
        if (lib == nullptr || !host.instantiate(lib->entry())) {
            if (error.empty()) error = host.error();
            return false;
        }
        host.dispatch(effOpen, 0, 0, nullptr, 0.0f);
        host.dispatch(effSetSampleRate, 0, 0, nullptr, 44100.0f);
        host.dispatch(effSetBlockSize, 0, 512, nullptr, 0.0f);
        host.dispatch(effMainsChanged, 0, 1, nullptr, 0.0f);
        parent = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 800, 640, 0, 0, 0);
        XMapWindow(display, parent);
        XSync(display, False);
        return true;
    }
    void* parentHandle() const { return reinterpret_cast<void*>(static_cast<uintptr_t>(parent)); }
    ~Session() {
        if (display == nullptr) return;
        host.dispatch(effEditClose, 0, 0, nullptr, 0.0f);
        if (parent != 0) XDestroyWindow(display, parent);
        XCloseDisplay(display);
    }
};

double ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

void BM_EditorOpen(benchmark::State& state) {
    Session session;
    if (!session.start()) {
        state.SkipWithError(session.error.c_str());
        return;
    }
    static double firstOpen = -1.0;
    double openTotal = 0, closeTotal = 0;
    int64_t count = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        if (session.host.dispatch(effEditOpen, 0, 0, session.parentHandle(), 0.0f) != 1) {
            state.SkipWithError("effEditOpen failed");
            return;
        }
        const auto t1 = Clock::now();
        session.host.dispatch(effEditClose, 0, 0, nullptr, 0.0f);
        const auto t2 = Clock::now();
        if (firstOpen < 0) firstOpen = ms(t1 - t0);
        openTotal += ms(t1 - t0);
        closeTotal += ms(t2 - t1);
        ++count;
    }
    state.counters["open_ms"] = openTotal / static_cast<double>(count);
    state.counters["close_ms"] = closeTotal / static_cast<double>(count);
    state.counters["first_open_ms"] = firstOpen;
}
BENCHMARK(BM_EditorOpen)->Unit(benchmark::kMillisecond)->Iterations(20);

// User plus system CPU seconds of the thread named name, or −1.
double threadCpuSeconds(const char* name) {
    DIR* dir = opendir("/proc/self/task");
    if (dir == nullptr) return -1;
    double seconds = -1;
    while (dirent* entry = readdir(dir)) {
        if (entry->d_name[0] == '.') continue;
        const std::string base = std::string("/proc/self/task/") + entry->d_name;
        std::ifstream comm(base + "/comm");
        std::string threadName;
        std::getline(comm, threadName);
        if (threadName != name) continue;
        std::ifstream stat(base + "/stat");
        std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
        // Fields after the parenthesised name: state is field 3, utime 14, stime 15.
        const size_t close = text.rfind(')');
        if (close == std::string::npos) break;
        unsigned long utime = 0, stime = 0;
        if (std::sscanf(text.c_str() + close + 2, "%*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %lu %lu", &utime, &stime) == 2)
            seconds = static_cast<double>(utime + stime) / static_cast<double>(sysconf(_SC_CLK_TCK));
        break;
    }
    closedir(dir);
    return seconds;
}

void BM_EditorIdleCpu(benchmark::State& state) {
    Session session;
    if (!session.start()) {
        state.SkipWithError(session.error.c_str());
        return;
    }
    for (int note = 60; note < 68; ++note)
        session.host.sendMidi({PluginHost::midiEvent(0x90, static_cast<uint8_t>(note), 100)});
    std::atomic<bool> stop{false};
    std::thread audio([&] {
        std::vector<float> left(512), right(512);
        auto next = Clock::now();
        while (!stop.load()) {
            session.host.processReplacing(left.data(), right.data(), 512);
            next += std::chrono::microseconds(11610);
            std::this_thread::sleep_until(next);
        }
    });
    double percent = 0;
    for (auto _ : state) {
        session.host.dispatch(effEditOpen, 0, 0, session.parentHandle(), 0.0f);
        std::this_thread::sleep_for(std::chrono::milliseconds(300));  // past the first paint
        const double cpu0 = threadCpuSeconds("quenvale-editor");
        const auto t0 = Clock::now();
        std::this_thread::sleep_for(std::chrono::seconds(3));
        const double cpu1 = threadCpuSeconds("quenvale-editor");
        const double wall = std::chrono::duration<double>(Clock::now() - t0).count();
        session.host.dispatch(effEditClose, 0, 0, nullptr, 0.0f);
        if (cpu0 < 0 || cpu1 < 0) {
            state.SkipWithError("the editor thread was not found");
            break;
        }
        percent = 100.0 * (cpu1 - cpu0) / wall;
    }
    stop.store(true);
    audio.join();
    state.counters["editor_cpu_percent"] = percent;
}
BENCHMARK(BM_EditorIdleCpu)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

}  // namespace
