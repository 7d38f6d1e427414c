// The render comparison of quenvale-host-check.
#include "render_compare.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "float_wav.h"
#include "render_loop.h"

namespace quenvale::hostcheck {

namespace {

bool sameBits(float a, float b) {
    uint32_t x = 0, y = 0;
    std::memcpy(&x, &a, sizeof x);
    std::memcpy(&y, &b, sizeof y);
    return x == y;
}

std::string describeDifference(const StereoSamples& want, const StereoSamples& got) {
    if (want.left.size() != got.left.size()) {
        return std::to_string(got.left.size()) + " frames, the reference has " +
               std::to_string(want.left.size());
    }
    size_t differing = 0, first = want.left.size();
    for (size_t i = 0; i < want.left.size(); ++i) {
        if (!sameBits(want.left[i], got.left[i]) || !sameBits(want.right[i], got.right[i])) {
            if (differing++ == 0) first = i;
        }
    }
    if (differing == 0) return {};
    char text[160];
    std::snprintf(text, sizeof text,
                  "%zu of %zu frames differ, first at frame %zu (left %.9g, reference %.9g)", differing,
                  want.left.size(), first, static_cast<double>(got.left[first]),
                  static_cast<double>(want.left[first]));
    return text;
}

}  // namespace

std::vector<CompareResult> compareRenders(host::EntryFunction entry, const render::RenderOptions& options,
                                          const std::vector<int>& programs, const std::string& referenceDir) {
    std::vector<CompareResult> results;
    for (const int program : programs) {
        CompareResult result;
        result.program = program;
        StereoSamples want;
        std::string error;
        if (!readFloatWav(referenceDir + "/program-" + std::to_string(program) + ".wav", want, error)) {
            result.detail = error;
            results.push_back(result);
            continue;
        }
        render::RenderOptions one = options;
        one.program = program;
        StereoSamples got;
        const render::BlockSink keep = [&got](const float* left, const float* right, int frames,
                                              std::string&) {
            got.left.insert(got.left.end(), left, left + frames);
            got.right.insert(got.right.end(), right, right + frames);
            return true;
        };
        render::RenderSummary summary;
        if (!render::renderToSink(entry, one, keep, {}, summary, error)) {
            result.detail = error;
        } else {
            result.detail = describeDifference(want, got);
            result.identical = result.detail.empty();
            result.seconds = summary.seconds;
            result.wallSeconds = summary.wallSeconds;
        }
        results.push_back(result);
    }
    return results;
}

}  // namespace quenvale::hostcheck
