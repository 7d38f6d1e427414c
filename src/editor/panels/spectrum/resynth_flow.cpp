// Re-synthesis from the editor: dialogs, the worker and the guarded apply.
#include "editor/panels/spectrum/resynth_flow.h"

#include <sndfile.h>

#include <algorithm>
#include <set>

#include "audio_input.h"
#include "common/debug_output.h"
#include "editor/overlays/file_dialogs.h"
#include "editor/overlays/message_box.h"
#include "editor/panels/spectrum/resynth_options_dialog.h"
#include "editor/panels/spectrum/spectrum_edits.h"
#include "editor/ui/root_view.h"
#include "engine/synth_engine.h"
#include "temp_files.h"

namespace quenvale::editor {

namespace {
// Thrown from the progress callback to leave the analysis early; nothing of the generator has been
// touched at that point.
struct Cancelled {};
}  // namespace

struct ResynthFlow::Job {
    std::string path;
    ResynthOptions options;
    int32_t partialCount = 0;
    ResynthAnalysis analysis;
    bool ok = false;
    std::string error;
    std::atomic<int32_t> done{0};
    std::atomic<int32_t> total{0};
    std::atomic<bool> cancel{false};
    std::atomic<bool> finished{false};
    std::thread worker;

    // [worker thread] Converts the recording into the analysis format as the command-line tool does,
    // then analyses it; the generator is not touched here.
    void run() {
        try {
            tool::TempFile converted("", ".wav");
            tool::ConversionInfo info;
            if (converted.path().empty()) {
                error = "cannot create a temporary file";
            } else if (tool::convertToAnalysisWav(path, converted.path(), info, error) && !cancel.load()) {
                ok = analyseResynthesis(converted.path().c_str(), options, partialCount, analysis,
                                        [this](int32_t d, int32_t t) {
                                            done.store(d);
                                            total.store(t);
                                            if (cancel.load()) throw Cancelled{};
                                        });
                if (!ok) error = analysis.report.error;
            }
        } catch (const Cancelled&) {
            ok = false;
        } catch (const std::exception& e) {
            ok = false;
            error = e.what();
        }
        finished.store(true, std::memory_order_release);
    }
};

ResynthFlow::ResynthFlow(EditorContext& context, std::function<void()> applied)
    : context_(context), applied_(std::move(applied)) {}

ResynthFlow::~ResynthFlow() {
    if (job_) {
        job_->cancel.store(true);
        if (job_->worker.joinable()) job_->worker.join();
    }
}

std::string ResynthFlow::fileFilter() {
    // libsndfile's own list of the formats it reads (the command-line tool reads the same).
    std::set<std::string> extensions{"wav"};
    int count = 0;
    sf_command(nullptr, SFC_GET_FORMAT_MAJOR_COUNT, &count, sizeof count);
    for (int i = 0; i < count; ++i) {
        SF_FORMAT_INFO info{};
        info.format = i;
        if (sf_command(nullptr, SFC_GET_FORMAT_MAJOR, &info, sizeof info) == 0 && info.extension != nullptr)
            extensions.insert(info.extension);
    }
    // The names files of those formats usually carry besides the one the library gives.
    if (extensions.count("aiff") != 0) extensions.insert("aif");
    if (extensions.count("oga") != 0) extensions.insert({"ogg", "opus"});
    if (extensions.count("m1a") != 0) extensions.insert("mp3");
    std::string filter = "Sound Files (*.wav";
    for (const std::string& e : extensions)
        if (e != "wav") filter += " *." + e;
    return filter + ")";
}

void ResynthFlow::begin() {
    if (running()) return;
    FileRequest request{false, kTitle, "wav", fileFilter()};
    context_.files.choose(request, [this](const std::string& path) {
        if (path.empty()) return;
        context_.root.openOverlay(std::make_unique<ResynthOptionsDialog>(
            ResynthOptions{}, [this, path](const ResynthOptions& options) { start(path, options); }));
    });
}

bool ResynthFlow::start(const std::string& path, const ResynthOptions& options) {
    if (running()) return false;
    debugPrintf("Re-Synthesizing: Fundamental: %f\n", static_cast<double>(options.fundamental));
    job_ = std::make_unique<Job>();
    job_->path = path;
    job_->options = options;
    job_->partialCount = liveGenerator(context_.model.engine()).partialCount;
    job_->worker = std::thread([job = job_.get()] { job->run(); });
    return true;
}

void ResynthFlow::cancel() {
    if (job_) job_->cancel.store(true);
}

double ResynthFlow::progress() const noexcept {
    if (!job_) return 0.0;
    const int32_t total = job_->total.load();
    return total > 0 ? std::clamp(static_cast<double>(job_->done.load()) / total, 0.0, 1.0) : 0.0;
}

bool ResynthFlow::poll() {
    if (!job_ || !job_->finished.load(std::memory_order_acquire)) return false;
    job_->worker.join();
    std::unique_ptr<Job> job = std::move(job_);
    finish(*job);
    return true;  // the replaced breakpoints and layers go with job, outside the edit scope
}

void ResynthFlow::finish(Job& job) {
    lastReport_ = job.analysis.report;
    if (job.cancel.load()) return;  // cancelled by the user: nothing changes, nothing to say
    if (!job.ok) {
        if (!job.error.empty()) debugPrintf("Re-Synthesis: %s\n", job.error.c_str());
        showMessage(context_.root, kFailed, kTitle, MessageIcon::Error);
        return;
    }
    SynthEngine& engine = context_.model.engine();
    {
        EditGuard::EditScope scope(engine.editGuard());
        applyResynthesis(liveGenerator(engine), job.analysis);
        engine.generatorChanged();
    }
    if (applied_) applied_();
}

}  // namespace quenvale::editor
