// Progress bar drawing.
#include "progress_bar.h"

#include <unistd.h>

#include <cstdio>

namespace quenvale::tool {

ProgressBar::ProgressBar() : enabled_(::isatty(STDERR_FILENO) == 1) {}

ProgressBar::~ProgressBar() {
    finish();
}

void ProgressBar::update(int32_t done, int32_t total) {
    if (!enabled_ || total <= 0) return;
    const int32_t percent = static_cast<int32_t>(100LL * done / total);
    if (percent == shown_) return;
    shown_ = percent;
    constexpr int32_t kWidth = 40;
    const int32_t filled = percent * kWidth / 100;
    char bar[kWidth + 1];
    for (int32_t i = 0; i < kWidth; ++i) bar[i] = i < filled ? '#' : '.';
    bar[kWidth] = '\0';
    std::fprintf(stderr, "\ranalysing [%s] %3d%% (%d/%d frames)", bar, percent, done, total);
    std::fflush(stderr);
    drawn_ = true;
}

void ProgressBar::finish() {
    if (drawn_) std::fputc('\n', stderr);
    drawn_ = false;
}

}  // namespace quenvale::tool
