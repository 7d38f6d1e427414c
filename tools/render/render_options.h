// Command line of quenvale-render.
#pragma once

#include <string>

#include "wav_writer.h"

namespace quenvale::render {

struct RenderOptions {
    std::string pluginPath;
    std::string midiPath;
    std::string outputPath;
    int sampleRate = 44100;
    int blockSize = 512;
    double tailSeconds = 2.0;
    double lengthSeconds = 0.0;  // > 0: stop after this much output, wherever the song is
    int program = -1;            // -1: leave the plug-in's program alone
    std::string chunkPath;
    std::string bankPath;
    double tempo = 120.0;
    SampleFormat format = SampleFormat::Float32;
    bool quiet = false;
    bool help = false;
};

const char* usageText() noexcept;

// False with a message in error when the command line is not usable.
bool parseRenderOptions(int argc, const char* const* argv, RenderOptions& options, std::string& error);

}  // namespace quenvale::render
