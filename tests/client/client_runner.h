// Runs the zelvo program with arguments and an environment of the test's
// choosing, and collects its exit status and output.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "child_process.h"

namespace zelvo::testing {

using ClientRun = ChildRun;

// The ZELVO_* variables of the test's own environment are dropped; the
// client gets ZELVO_COM1 naming a device that does not exist, a USB bus that
// is not there and the simulator's USB IDs, each replaced by `environment`.
ClientRun runClient(const std::vector<std::string>& arguments,
                    const std::map<std::string, std::string>& environment = {});

// A folder of its own for files, removed with its contents when this goes.
class ScratchFolder {
  public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

}  // namespace zelvo::testing
