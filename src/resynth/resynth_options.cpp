// Range check of the resynthesis options.
#include "resynth/resynth_options.h"

namespace quenvale {

const char* resynthOptionsError(const ResynthOptions& options) noexcept {
    // Written so that NaN fails both comparisons and is refused.
    if (!(options.fundamental >= kMinFundamental && options.fundamental <= kMaxFundamental))
        return "The fundamental frequency must lie between 10 and 10000 Hz.";
    if (!(options.samplingDistance >= kMinSamplingDistance &&
          options.samplingDistance <= kMaxSamplingDistance))
        return "The sampling distance must lie between 0.01 and 10 seconds.";
    return nullptr;
}

}  // namespace quenvale
