// quenvale-render's work: the render loop with its blocks written to a WAV file.
#include "renderer.h"

#include <vector>

#include "midi_file.h"
#include "plugin_library.h"
#include "wav_writer.h"

namespace quenvale::render {

bool renderMidiFile(const RenderOptions& options, const ProgressFunction& progress, RenderSummary& summary,
                    std::string& error) {
    // The input is checked before the plug-in is loaded: its errors are the more likely ones.
    MidiSequence sequence;
    if (!loadMidiFile(options.midiPath, sequence, error)) return false;
    auto library = host::PluginLibrary::open(options.pluginPath, error);
    if (!library) return false;
    return renderWithPlugin(library->entry(), options, progress, summary, error);
}

bool renderWithPlugin(host::EntryFunction entry, const RenderOptions& options,
                      const ProgressFunction& progress, RenderSummary& summary, std::string& error) {
    WavWriter wav;
    bool opened = false;
    std::vector<float> interleaved;
    const BlockSink toWav = [&](const float* left, const float* right, int frames, std::string& why) {
        // Opened at the first block, once the plug-in has taken its state: a refused render leaves no file.
        if (!opened) {
            if (!wav.open(options.outputPath, options.sampleRate, options.format, why)) return false;
            opened = true;
        }
        interleaved.resize(2 * static_cast<size_t>(frames));
        for (int i = 0; i < frames; ++i) {
            interleaved[2 * static_cast<size_t>(i)] = left[i];
            interleaved[2 * static_cast<size_t>(i) + 1] = right[i];
        }
        return wav.write(interleaved.data(), frames, why);
    };
    if (!renderToSink(entry, options, toWav, progress, summary, error)) return false;
    if (!opened && !wav.open(options.outputPath, options.sampleRate, options.format, error)) return false;
    return wav.close(error);
}

}  // namespace quenvale::render
