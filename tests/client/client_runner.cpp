#include "client_runner.h"

#include <fcntl.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

extern char** environ;

namespace zelvo::testing {
namespace {

std::string contents(const std::string& path) {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

ScratchFolder::ScratchFolder() {
    char pattern[] = "/tmp/zelvo-client-test-XXXXXX";
    if (::mkdtemp(pattern) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

ClientRun runClient(const std::vector<std::string>& arguments,
                    const std::map<std::string, std::string>& environment) {
    std::map<std::string, std::string> variables = {
        {"ZELVO_COM1", "/nonexistent/zelvo-com1"},
        {"ZELVO_USB_SIM", "/nonexistent/zelvo-usb"},
        {"ZELVO_USB_IDS", "1209:0001"},
    };
    for (const auto& [name, value] : environment) variables[name] = value;
    std::vector<std::string> entries;
    for (char** e = environ; *e != nullptr; ++e)
        if (std::string_view(*e).rfind("ZELVO_", 0) != 0) entries.emplace_back(*e);
    for (const auto& [name, value] : variables) entries.push_back(name + "=" + value);
    std::vector<char*> envp;
    for (std::string& e : entries) envp.push_back(e.data());
    envp.push_back(nullptr);

    std::vector<std::string> words = {ZELVO_CLIENT_PATH};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);

    ScratchFolder folder;
    const std::string out = folder.path() + "/out", err = folder.path() + "/err";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    pid_t pid = -1;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) throw std::runtime_error("cannot start " + words[0]);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) throw std::runtime_error("waitpid failed");
    }
    ClientRun run;
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = contents(out);
    run.err = contents(err);
    return run;
}

}  // namespace zelvo::testing
