// A program a test runs as a child process: its environment is the test's
// own without the ZELVO_* variables, plus the ones the test names; standard
// input is empty and standard output and error go to files of its own,
// which the test may read while the child runs.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

extern char** environ;

namespace zelvo::testing {

// How a child ended: its exit status (-1 when it did not exit normally) and output.
struct ChildRun {
    int status = -1;
    std::string out;
    std::string err;
};

class ChildProcess {
  public:
    // Starts words[0] (a path) with the rest as its arguments.
    ChildProcess(const std::vector<std::string>& words,
                 const std::map<std::string, std::string>& environment = {}) {
        char pattern[] = "/tmp/zelvo-child-XXXXXX";
        if (::mkdtemp(pattern) == nullptr) throw std::runtime_error("mkdtemp failed");
        folder_ = pattern;
        std::vector<std::string> entries;
        for (char** e = environ; *e != nullptr; ++e)
            if (std::string_view(*e).rfind("ZELVO_", 0) != 0) entries.emplace_back(*e);
        for (const auto& [name, value] : environment) entries.push_back(name + "=" + value);
        std::vector<char*> envp;
        for (std::string& e : entries) envp.push_back(e.data());
        envp.push_back(nullptr);
        std::vector<std::string> argWords = words;
        std::vector<char*> argv;
        for (std::string& w : argWords) argv.push_back(w.data());
        argv.push_back(nullptr);

        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 1, outPath().c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0600);
        posix_spawn_file_actions_addopen(&actions, 2, errPath().c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int spawned =
            posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), envp.data());
        posix_spawn_file_actions_destroy(&actions);
        if (spawned != 0) {
            std::filesystem::remove_all(folder_);
            throw std::runtime_error("cannot start " + words[0]);
        }
    }
    ~ChildProcess() {
        if (pid_ > 0) finish(SIGKILL);
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    std::string out() const { return contents(outPath()); }
    std::string err() const { return contents(errPath()); }

    // The first whole line of standard output that starts with prefix, once
    // it is there; none when the child ends or patience runs out first.
    std::optional<std::string> lineStartingWith(const std::string& prefix,
                                                std::chrono::milliseconds patience) {
        const auto end = std::chrono::steady_clock::now() + patience;
        for (;;) {
            const bool ended = pid_ <= 0 || ::waitpid(pid_, &status_, WNOHANG) == pid_;
            if (ended && pid_ > 0) pid_ = -pid_;  // reaped: finish() only collects
            const std::string text = out();
            for (std::size_t from = 0, at; (at = text.find('\n', from)) != std::string::npos;
                 from = at + 1)
                if (text.compare(from, prefix.size(), prefix) == 0)
                    return text.substr(from, at + 1 - from);
            if (ended || std::chrono::steady_clock::now() >= end) return std::nullopt;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }

    // Sends signal (none for 0) to a child still running, waits for its end
    // and collects it.
    ChildRun finish(int signal = 0) {
        if (pid_ > 0) {
            if (signal != 0) ::kill(pid_, signal);
            while (::waitpid(pid_, &status_, 0) < 0)
                if (errno != EINTR) throw std::runtime_error("waitpid failed");
            pid_ = -pid_;
        }
        ChildRun run;
        run.status = WIFEXITED(status_) ? WEXITSTATUS(status_) : -1;
        run.out = out();
        run.err = err();
        return run;
    }

  private:
    std::string outPath() const { return folder_ + "/out"; }
    std::string errPath() const { return folder_ + "/err"; }
    static std::string contents(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    std::string folder_;
    pid_t pid_ = -1;  // negative once reaped
    int status_ = 0;
};

}  // namespace zelvo::testing
