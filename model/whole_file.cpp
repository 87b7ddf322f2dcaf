#include "model/whole_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <string>
#include <system_error>
#include <variant>

namespace oscilane {
namespace {

// Writes all of bytes to fd; false with errno set when that failed.
bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) {
            errno = EIO;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// The file a save replaces: the target of a symbolic link rather than the link.
std::filesystem::path saveTarget(const std::filesystem::path& path) {
    std::error_code error;
    if (!std::filesystem::is_symlink(path, error)) return path;
    std::filesystem::path resolved = std::filesystem::weakly_canonical(path, error);
    return error ? path : resolved;
}

WholeFileFailure failed(WholeFileStage stage, int error) { return {stage, error}; }

}  // namespace

std::string WholeFileFailure::systemMessage() const {
    return std::generic_category().message(error);
}

namespace {

// A new temporary file beside the save's target, open for writing.
struct Temporary {
    std::string path;
    int fd = -1;
};

// Checks that the target may be replaced and creates its temporary file.
std::variant<Temporary, WholeFileFailure> openTemporary(const std::filesystem::path& target,
                                                        struct stat& existing, bool& exists) {
    exists = ::stat(target.c_str(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode)) return failed(WholeFileStage::Open, EISDIR);
    // The rename would replace a file the user may not write to; refuse as an open would.
    if (exists && ::access(target.c_str(), W_OK) != 0) return failed(WholeFileStage::Open, errno);

    // O_EXCL with mode 0666 lets the kernel apply the umask, as for any new
    // file; a replaced file's own mode is put back by the writer.
    static std::atomic<unsigned> serial{0};
    const std::string stem = target.string() + ".part-" + std::to_string(::getpid()) + "-";
    Temporary t;
    for (int attempt = 0; attempt < 100 && t.fd < 0; ++attempt) {
        t.path = stem + std::to_string(serial.fetch_add(1));
        t.fd = ::open(t.path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (t.fd < 0 && errno != EEXIST) return failed(WholeFileStage::Open, errno);
    }
    if (t.fd < 0) return failed(WholeFileStage::Open, EEXIST);
    return t;
}

}  // namespace

std::optional<WholeFileFailure> WriteWholeFile(const std::filesystem::path& path,
                                               std::string_view bytes) {
    const std::filesystem::path target = saveTarget(path);
    struct stat existing {};
    bool exists = false;
    auto opened = openTemporary(target, existing, exists);
    if (const auto* failure = std::get_if<WholeFileFailure>(&opened)) return *failure;
    const Temporary& temporary = std::get<Temporary>(opened);

    int error = 0;
    if ((exists && ::fchmod(temporary.fd, existing.st_mode & 07777) != 0) ||
        !writeAll(temporary.fd, bytes) || ::fsync(temporary.fd) != 0)
        error = errno;
    if (::close(temporary.fd) != 0 && error == 0) error = errno;
    if (error == 0 && std::rename(temporary.path.c_str(), target.c_str()) != 0) error = errno;
    if (error != 0) {
        ::unlink(temporary.path.c_str());
        return failed(WholeFileStage::Write, error);
    }
    return std::nullopt;
}

std::optional<WholeFileFailure> CheckWholeFileWritable(const std::filesystem::path& path) {
    struct stat existing {};
    bool exists = false;
    auto opened = openTemporary(saveTarget(path), existing, exists);
    if (const auto* failure = std::get_if<WholeFileFailure>(&opened)) return *failure;
    const Temporary& temporary = std::get<Temporary>(opened);
    ::close(temporary.fd);
    ::unlink(temporary.path.c_str());
    return std::nullopt;
}

}  // namespace oscilane
