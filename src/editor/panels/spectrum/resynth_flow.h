// "Re-Synthesize WAV" from the spectrum editor: a file dialog (every sound format the command-line
// tool reads), the "Re-Synthesize Options" dialog, then the analysis on a worker thread while the
// editor keeps running (a progress bar and "Cancel" in the spectrum frame), and at the end the result
// applied to the live generator in one step under the engine's edit scope: all of it or nothing.
//
// [editor thread] Everything but the worker's own body; the timer calls poll().
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "editor/panels/editor_context.h"
#include "resynth/resynth_options.h"
#include "resynth/resynthesis.h"

namespace quenvale::editor {

class ResynthFlow {
public:
    static constexpr const char* kFailed = "Re-Synthesis failed !";
    static constexpr const char* kTitle = "Re-Synthesize...";

    // applied runs on the editor thread after a successful run changed the generator.
    ResynthFlow(EditorContext& context, std::function<void()> applied);
    ~ResynthFlow();  // cancels a run and waits for its worker
    ResynthFlow(const ResynthFlow&) = delete;
    ResynthFlow& operator=(const ResynthFlow&) = delete;

    // The button: file dialog, then the options dialog, then start().
    void begin();
    // Starts the analysis of path with options (refused while a run is going).
    bool start(const std::string& path, const ResynthOptions& options);
    // Asks the worker to stop; the generator stays as it was.
    void cancel();
    // Collects a finished worker: applies its result, or says "Re-Synthesis failed !". True when a
    // run ended in this call.
    bool poll();

    bool running() const noexcept { return job_ != nullptr; }
    // 0 … 1 while running.
    double progress() const noexcept;
    // The file filter of the dialog: "Sound Files (*.wav *.aiff …)".
    static std::string fileFilter();
    // The last run's report (tests).
    const ResynthReport& lastReport() const noexcept { return lastReport_; }

private:
    struct Job;
    void finish(Job& job);

    EditorContext& context_;
    std::function<void()> applied_;
    std::unique_ptr<Job> job_;
    ResynthReport lastReport_;
};

}  // namespace quenvale::editor
