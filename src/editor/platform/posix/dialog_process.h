// An external file dialog program (zenity, kdialog) run as a child process without blocking: the
// editor's timer polls it for the chosen path.
#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

namespace quenvale::editor {

class DialogProcess {
public:
    DialogProcess() = default;
    ~DialogProcess();  // ends a running dialog
    DialogProcess(const DialogProcess&) = delete;
    DialogProcess& operator=(const DialogProcess&) = delete;

    // The first of these programs found on PATH: "zenity", then "kdialog"; "" when none is.
    static std::string findProgram();
    // The arguments for a program found by findProgram.
    static std::vector<std::string> arguments(const std::string& program, bool save, const std::string& title,
                                              const std::string& extension, const std::string& filterName);

    // Starts argv[0] with its standard output read by us; false when it could not be started.
    bool start(const std::vector<std::string>& argv);
    bool running() const noexcept { return pid_ > 0; }
    // [never blocks] The chosen path once the program has ended ("" for a cancel or a failure);
    // nothing while it still runs.
    std::optional<std::string> poll();
    // Ends the program and forgets it.
    void stop();

private:
    pid_t pid_ = -1;
    int fd_ = -1;
    std::string output_;
};

}  // namespace quenvale::editor
