// Writing a file so that it appears whole or not at all: the bytes go to a
// temporary file in the same folder, which is then renamed over the target.
// Every file the application or the client saves goes through it.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace oscilane {

// Where a failed write stopped.  Either way the target is as it was and no
// temporary file is left behind.
enum class WholeFileStage {
    Open,   // the file could not be created (folder missing, no permission, a folder there)
    Write,  // writing, flushing or renaming into place failed
};

struct WholeFileFailure {
    WholeFileStage stage;
    int error;  // the errno value
    // The system's text for the error, e.g. "Permission denied".
    std::string systemMessage() const;
};

// Writes bytes to path.  An existing file keeps its permissions; a new one
// gets the usual ones (0666 less the umask).  A symbolic link is followed, so
// the file it names is replaced rather than the link.  An existing file the
// user may not write to is refused, as opening it would be.
std::optional<WholeFileFailure> WriteWholeFile(const std::filesystem::path& path,
                                               std::string_view bytes);

// Whether WriteWholeFile could save to path now, found out by creating and
// removing its temporary file: for a file another writer will put there.
std::optional<WholeFileFailure> CheckWholeFileWritable(const std::filesystem::path& path);

}  // namespace oscilane
