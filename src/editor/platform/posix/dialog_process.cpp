// Spawning, reading and reaping the external dialog program.
#include "editor/platform/posix/dialog_process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <sstream>

extern char** environ;

namespace quenvale::editor {

DialogProcess::~DialogProcess() {
    stop();
}

std::string DialogProcess::findProgram() {
    const char* path = std::getenv("PATH");
    if (path == nullptr) return {};
    for (const char* program : {"zenity", "kdialog"}) {
        std::stringstream folders(path);
        std::string folder;
        while (std::getline(folders, folder, ':')) {
            if (folder.empty()) continue;
            const std::string candidate = folder + "/" + program;
            if (access(candidate.c_str(), X_OK) == 0) return candidate;
        }
    }
    return {};
}

std::vector<std::string> DialogProcess::arguments(const std::string& program, bool save, const std::string& title,
                                                  const std::string& extension, const std::string& filterName) {
    const std::string pattern = "*." + extension;
    if (program.size() >= 7 && program.compare(program.size() - 7, 7, "kdialog") == 0) {
        return {program, save ? "--getsavefilename" : "--getopenfilename", ".", pattern + "|" + filterName, "--title",
                title};
    }
    std::vector<std::string> argv = {program, "--file-selection", "--title=" + title,
                                     "--file-filter=" + filterName + " | " + pattern};
    if (save) {
        argv.push_back("--save");
        argv.push_back("--confirm-overwrite");
    }
    return argv;
}

bool DialogProcess::start(const std::vector<std::string>& argv) {
    stop();
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) return false;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    pid_t pid = -1;
    const int failed = posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    if (failed != 0) {
        close(fds[0]);
        return false;
    }
    fcntl(fds[0], F_SETFL, fcntl(fds[0], F_GETFL) | O_NONBLOCK);
    pid_ = pid;
    fd_ = fds[0];
    output_.clear();
    return true;
}

std::optional<std::string> DialogProcess::poll() {
    if (pid_ <= 0) return std::nullopt;
    char buffer[512];
    while (true) {
        const ssize_t n = read(fd_, buffer, sizeof buffer);
        if (n > 0) {
            output_.append(buffer, static_cast<size_t>(n));
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        break;
    }
    int status = 0;
    const pid_t ended = waitpid(pid_, &status, WNOHANG);
    if (ended == 0) return std::nullopt;
    close(fd_);
    fd_ = -1;
    pid_ = -1;
    const bool chosen = ended > 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    std::string path = chosen ? output_ : std::string();
    while (!path.empty() && (path.back() == '\n' || path.back() == '\r')) path.pop_back();
    return path;
}

void DialogProcess::stop() {
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
}

}  // namespace quenvale::editor
