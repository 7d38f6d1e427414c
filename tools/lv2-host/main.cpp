// quenvale-lv2-render: plays a Standard MIDI File through the LV2 plug-in, found by URI on LV2_PATH, and
// writes a stereo float WAV file.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "lv2/lv2_uris.h"
#include "lv2_render.h"
#include "wav_writer.h"

namespace {

constexpr const char* kUsage =
    "usage: quenvale-lv2-render [--sr RATE] [--block FRAMES] [--block-start] [--tempo BPM] [--tail SECONDS]\n"
    "                           [--preset N | --chunk FILE [--program N]] INPUT.mid OUTPUT.wav\n";

int fail(const std::string& message) {
    std::fprintf(stderr, "quenvale-lv2-render: %s\n", message.c_str());
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace quenvale;
    lv2host::RenderSettings settings;
    int preset = -1;
    int program = -1;
    std::string chunkPath;
    std::vector<std::string> files;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--sr" && hasValue) {
            settings.sampleRate = std::atof(argv[++i]);
        } else if (arg == "--block" && hasValue) {
            settings.blockSize = static_cast<uint32_t>(std::atoi(argv[++i]));
        } else if (arg == "--block-start") {
            settings.eventsAtBlockStart = true;
        } else if (arg == "--tempo" && hasValue) {
            settings.tempo = std::atof(argv[++i]);
        } else if (arg == "--tail" && hasValue) {
            settings.tailSeconds = std::atof(argv[++i]);
        } else if (arg == "--preset" && hasValue) {
            preset = std::atoi(argv[++i]);
        } else if (arg == "--program" && hasValue) {
            program = std::atoi(argv[++i]);
        } else if (arg == "--chunk" && hasValue) {
            chunkPath = argv[++i];
        } else if (arg == "--help") {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (arg.rfind("--", 0) == 0) {
            std::fputs(kUsage, stderr);
            return 2;
        } else {
            files.push_back(arg);
        }
    }
    if (files.size() != 2 || (program >= 0 && chunkPath.empty()) || settings.sampleRate <= 0.0 ||
        settings.blockSize == 0 || settings.blockSize > 8192) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    render::MidiSequence sequence;
    std::string error;
    if (!render::loadMidiFile(files[0], sequence, error)) return fail(error);

    lv2host::Lv2World world;
    lv2host::Lv2Instance instance(world, lv2::kPluginUri, settings.sampleRate, settings.blockSize);
    if (!instance.ok()) return fail(instance.error());
    if (!chunkPath.empty()) {
        std::ifstream in(chunkPath, std::ios::binary);
        std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (!in || bytes.empty()) return fail("cannot read '" + chunkPath + "'");
        lv2host::StateProperties state;
        state[lv2::kStateChunkUri] = {"http://lv2plug.in/ns/ext/atom#Chunk", std::move(bytes)};
        // The state a host saves has the program number beside the chunk.
        if (program >= 0)
            state[lv2::kStateProgramUri] = {
                "http://lv2plug.in/ns/ext/atom#Int",
                {uint8_t(program), uint8_t(program >> 8), uint8_t(program >> 16), uint8_t(program >> 24)}};
        if (instance.restore(state) != 0) return fail("the plug-in refused the state in '" + chunkPath + "'");
    }
    if (preset >= 0) {
        // Preset N is program N of the bank: found by its URI, since slots left at their init program
        // are not presets.
        const std::string uri = lv2::presetUri(preset);
        bool listed = false;
        for (const auto& p : world.presets(world.plugin(lv2::kPluginUri))) listed = listed || p.uri == uri;
        if (!listed || !instance.applyPreset(uri))
            return fail("the bundle has no preset " + std::to_string(preset));
    }
    std::vector<float> left, right;
    lv2host::renderSequence(instance, sequence, settings, left, right);

    render::WavWriter wav;
    std::vector<float> interleaved(left.size() * 2);
    for (size_t i = 0; i < left.size(); ++i) {
        interleaved[2 * i] = left[i];
        interleaved[2 * i + 1] = right[i];
    }
    if (!wav.open(files[1], static_cast<int>(settings.sampleRate), render::SampleFormat::Float32, error) ||
        !wav.write(interleaved.data(), static_cast<int64_t>(left.size()), error) || !wav.close(error))
        return fail(error);
    std::printf("%s: %.2f s at %d Hz\n", files[1].c_str(),
                static_cast<double>(left.size()) / settings.sampleRate,
                static_cast<int>(settings.sampleRate));
    return 0;
}
