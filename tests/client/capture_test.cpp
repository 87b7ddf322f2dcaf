// zelvo capture against a simulated instrument on a loopback address: the
// data file and the CSV as the window writes them, a channel that is off,
// and failures that leave no file.
#include <gtest/gtest.h>

#include "file_text.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "client_runner.h"
#include "loopback.h"

namespace zelvo::testing {
namespace {

using Args = std::vector<std::string>;

using testsupport::crlfLines;
using testsupport::readBytes;

std::size_t filesIn(const std::string& folder) {
    std::size_t n = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) ++n;
    return n;
}

class CaptureTest : public ::testing::Test {
  protected:
    void SetUp() override { server_ = sim::serveOnFreeLoopback(instrument_); }
    std::string file(const std::string& name) const { return folder_.path() + "/" + name; }
    ClientRun capture(const Args& more) {
        Args args{"--lan", server_->address(), "capture"};
        args.insert(args.end(), more.begin(), more.end());
        return runClient(args);
    }
    void switchOff(int channel) {
        instrument_.inspect([channel](sim::Instrument& i, sim::Responder&) {
            // Channel enable: the channel in bits 16-23, off in the low byte.
            return i.applySet(16, static_cast<uint32_t>(channel) << 16);
        });
    }

    sim::SimulatedInstrument instrument_;
    std::unique_ptr<sim::UdpServer> server_;
    ScratchFolder folder_;
};

TEST_F(CaptureTest, TextFileOfEachChannel) {
    struct Case {
        Args options;
        const char* channelLine;
    };
    const Case cases[] = {
        {{}, "#CHANNEL:CH1"},
        {{"--channel", "CH2", "--format", "txt"}, "#CHANNEL:CH2"},
    };
    for (const Case& c : cases) {
        Args args = c.options;
        args.push_back(file("trace.txt"));
        const ClientRun run = capture(args);
        ASSERT_EQ(run.status, 0) << run.err;
        const std::vector<std::string> lines = crlfLines(readBytes(file("trace.txt")));
        ASSERT_EQ(lines.size(), 1205u);
        EXPECT_EQ(lines[0], c.channelLine);
        EXPECT_EQ(lines[1], "#CLOCK=0.001000000S");  // the simulator starts at 1 ms/div
        EXPECT_EQ(lines[2], "#SIZE=1200");
        EXPECT_EQ(lines[3], "#UNITS:V");
        EXPECT_EQ(lines[4], "");
        for (std::size_t i = 5; i < lines.size(); ++i) {
            ASSERT_EQ(lines[i].size() - lines[i].find('.'), 7u) << "six decimals: " << lines[i];
        }
    }
    EXPECT_EQ(filesIn(folder_.path()), 1u);
}

TEST_F(CaptureTest, CsvHasATimeAndVoltsRowPerSample) {
    const ClientRun run = capture({"--format", "csv", file("trace.csv")});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::vector<std::string> rows = crlfLines(readBytes(file("trace.csv")));
    ASSERT_EQ(rows.size(), 1201u);
    EXPECT_EQ(rows[0], "time_s,volts");
    EXPECT_EQ(rows[1].rfind("0,", 0), 0u) << rows[1];
    EXPECT_EQ(rows[2].rfind("1e-05,", 0), 0u) << rows[2];  // 1 ms/div: 10 us a sample
}

TEST_F(CaptureTest, AllChannelsInOneCsv) {
    switchOff(1);
    const ClientRun run = capture({"--channel", "ALL", "--format", "csv", file("all.csv")});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "all channels saved to " + file("all.csv") + "\n");
    const std::vector<std::string> rows = crlfLines(readBytes(file("all.csv")));
    ASSERT_EQ(rows.size(), 1201u);
    EXPECT_EQ(rows[0], "time_s,CH1,CH2,MATH,REF");
    for (std::size_t i = 1; i < rows.size(); ++i) {
        const std::string& row = rows[i];
        ASSERT_EQ(std::count(row.begin(), row.end(), ','), 4) << row;
        const std::size_t ch2 = row.find(',', row.find(',') + 1);
        ASSERT_EQ(row[ch2 + 1], ',') << "CH2 is off: its field is empty: " << row;
    }
    EXPECT_EQ(rows[2].rfind("1e-05,", 0), 0u) << rows[2];

    // The data file holds one trace: all channels need the CSV.
    const ClientRun text = capture({"--channel", "all", file("all.txt")});
    EXPECT_EQ(text.status, 2);
    EXPECT_NE(text.err.find("--format csv"), std::string::npos) << text.err;
    EXPECT_FALSE(std::filesystem::exists(file("all.txt")));
}

TEST_F(CaptureTest, AChannelThatIsOff) {
    switchOff(1);
    const ClientRun text = capture({"--channel", "CH2", file("off.txt")});
    EXPECT_EQ(text.status, 0) << text.err;
    EXPECT_EQ(readBytes(file("off.txt")), "CH OFF\r\n\r\n");

    const ClientRun csv = capture({"--channel", "CH2", "--format", "csv", file("off.csv")});
    EXPECT_EQ(csv.status, 1);
    EXPECT_NE(csv.err.find("CH2"), std::string::npos) << csv.err;
    EXPECT_FALSE(std::filesystem::exists(file("off.csv")));
}

TEST_F(CaptureTest, FailuresCreateNoFile) {
    struct Case {
        Args options;
        int status;
    };
    const Case cases[] = {
        {{"--channel", "REF"}, 2},
        {{"--format", "bmp"}, 2},
        {{"--channel"}, 2},
        {{"--format", "txt", file("missing/trace.txt")}, 1},
    };
    for (const Case& c : cases) {
        Args args = c.options;
        if (c.status == 2) args.push_back(file("trace.txt"));
        const ClientRun run = capture(args);
        EXPECT_EQ(run.status, c.status) << run.err;
        EXPECT_EQ(run.err.rfind("zelvo: ", 0), 0u) << run.err;
        EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << "one line: " << run.err;
    }
    const std::string wrongChannel = capture({"--channel", "CH3", file("trace.txt")}).err;
    EXPECT_NE(wrongChannel.find("'CH3' is not a channel: the channels are CH1, CH2 and MATH"),
              std::string::npos)
        << wrongChannel;
    EXPECT_EQ(capture({}).status, 2) << "no file named";
    EXPECT_EQ(filesIn(folder_.path()), 0u);
}

TEST_F(CaptureTest, AnInstrumentThatDoesNotAnswerExitsWithOneAndNoFile) {
    instrument_.setFaults({.silent = true});
    const ClientRun run = capture({file("trace.txt")});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.out.empty()) << run.out;
    EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << run.err;
    EXPECT_EQ(filesIn(folder_.path()), 0u);
}

TEST_F(CaptureTest, AFailedUploadExitsWithOneAndNoFile) {
    instrument_.setFaults({.emptyBlockReplies = true});
    const ClientRun run = capture({"--format", "csv", file("trace.csv")});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("setting block"), std::string::npos) << run.err;
    EXPECT_EQ(filesIn(folder_.path()), 0u);
}

}  // namespace
}  // namespace zelvo::testing
