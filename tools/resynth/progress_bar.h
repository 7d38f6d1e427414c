// A one-line progress bar on standard error, drawn only when standard error is a terminal.
#pragma once

#include <cstdint>

namespace quenvale::tool {

class ProgressBar {
public:
    ProgressBar();
    ~ProgressBar();
    // Redraws when the shown percentage changes.
    void update(int32_t done, int32_t total);
    // Ends the line (if anything was drawn).
    void finish();

private:
    bool enabled_;
    bool drawn_ = false;
    int32_t shown_ = -1;
};

}  // namespace quenvale::tool
