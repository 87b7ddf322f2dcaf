// zelvo measure against a simulated instrument on a loopback address: the 22
// texts as the window draws them, the CSV form, a channel that is off, and
// the failures a script must be able to tell apart.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "client_runner.h"
#include "loopback.h"

namespace zelvo::testing {
namespace {

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

constexpr const char* kLabels[] = {
    "Vpp = ",    "Vmax = ",   "Vmin = ",       "Vamp = ",      "Vtop = ",  "Vmid = ",
    "Vbase = ",  "Vavg = ",   "Vcrms = ",      "Vrms = ",      "Vpre = ",  "Vover = ",
    "Period = ", "Frequ = ",  "RiseT ",        "FallT ",       "+Duty = ", "-Duty = ",
    "+Width = ", "-Width = ", "+Delay1->2 = ", "-Delay1->2 = "};
constexpr const char* kCsvNames[] = {"vpp",       "vmax",      "vmin",     "vamp",      "vtop",
                                     "vmid",      "vbase",     "vavg",     "vcrms",     "vrms",
                                     "preshoot",  "overshoot", "period",   "frequency", "rise_time",
                                     "fall_time", "pos_duty",  "neg_duty", "pos_width", "neg_width",
                                     "pos_delay", "neg_delay"};

// CH1 carries the simulator's 1 kHz sine.
class MeasureClientTest : public ::testing::Test {
  protected:
    void SetUp() override {
        instrument_.inspect([](sim::Instrument& i, auto&) { i.signals().ch1Frequency = 1000; });
        server_ = sim::serveOnFreeLoopback(instrument_);
    }
    const std::string& address() const { return server_->address(); }

    sim::SimulatedInstrument instrument_;
    std::unique_ptr<sim::UdpServer> server_;
};

TEST_F(MeasureClientTest, PrintsTheTwentyTwoTextsOfTheWindow) {
    const ClientRun run = runClient({"--lan", address(), "measure"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(run.err.empty()) << run.err;
    const auto lines = linesOf(run.out);
    ASSERT_EQ(lines.size(), 22u) << run.out;
    for (std::size_t k = 0; k < lines.size(); ++k)
        EXPECT_EQ(lines[k].rfind(std::string("CH1:") + kLabels[k], 0), 0u) << lines[k];
    // 1 kHz within the last digit of "1.000KHz".
    const std::string frequency = lines[13];
    ASSERT_EQ(frequency.size(), std::string("CH1:Frequ = 1.000KHz").size()) << frequency;
    const double khz = std::stod(frequency.substr(12, 5));
    EXPECT_NEAR(khz, 1.000, 0.0011) << frequency;
    EXPECT_EQ(frequency.substr(17), "KHz");
}

TEST_F(MeasureClientTest, CsvGivesBaseUnitsAndEmptyValuesForNone) {
    const ClientRun run = runClient({"measure", "--csv", "--lan", address(), "--channel", "CH1"});
    ASSERT_EQ(run.status, 0) << run.err;
    const auto lines = linesOf(run.out);
    ASSERT_EQ(lines.size(), 23u) << run.out;
    EXPECT_EQ(lines[0], "name,value,unit");
    for (std::size_t k = 0; k < 22; ++k) {
        const std::string& line = lines[k + 1];
        EXPECT_EQ(line.rfind(std::string(kCsvNames[k]) + ",", 0), 0u) << line;
        const std::string unit = line.substr(line.rfind(',') + 1);
        const char* expected = k <= 9                                       ? "V"
                               : k == 13                                    ? "Hz"
                               : (k == 10 || k == 11 || k == 16 || k == 17) ? "ratio"
                                                                            : "s";
        EXPECT_EQ(unit, expected) << line;
    }
    const std::string frequency = lines[14];
    const double hz = std::stod(frequency.substr(frequency.find(',') + 1));
    EXPECT_NEAR(hz, 1000, 1) << frequency;
    const std::string duty = lines[17];
    EXPECT_NEAR(std::stod(duty.substr(duty.find(',') + 1)), 0.5, 0.02) << duty;  // a ratio
}

TEST_F(MeasureClientTest, ChannelThatIsOffPrintsTheInvalidTexts) {
    // The simulator's MATH trace is off.
    const ClientRun run = runClient({"--lan", address(), "measure", "--channel", "math"});
    ASSERT_EQ(run.status, 0) << run.err;
    const auto lines = linesOf(run.out);
    ASSERT_EQ(lines.size(), 22u) << run.out;
    EXPECT_EQ(lines[0], "MATH:Vpp = *****");
    EXPECT_EQ(lines[14], "MATH:RiseT = *****");
    EXPECT_EQ(lines[21], "MATH:-Delay1->2 = *****");

    const ClientRun csv = runClient({"--lan", address(), "measure", "--channel", "MATH", "--csv"});
    ASSERT_EQ(csv.status, 0) << csv.err;
    const auto rows = linesOf(csv.out);
    ASSERT_EQ(rows.size(), 23u);
    EXPECT_EQ(rows[1], "vpp,,V");
    EXPECT_EQ(rows[14], "frequency,,Hz");
}

TEST_F(MeasureClientTest, FailuresExitWithOneOrTwo) {
    const ClientRun usage = runClient({"--lan", address(), "measure", "--channel", "REF"});
    EXPECT_EQ(usage.status, 2);
    EXPECT_TRUE(usage.out.empty());

    instrument_.setFaults({.silent = true});
    const ClientRun silent = runClient({"--lan", address(), "measure"});
    EXPECT_EQ(silent.status, 1);
    EXPECT_TRUE(silent.out.empty()) << silent.out;
    EXPECT_EQ(silent.err.rfind("zelvo: ", 0), 0u) << silent.err;
    EXPECT_NE(silent.err.find(address()), std::string::npos) << silent.err;

    instrument_.setFaults({.emptyBlockReplies = true});
    const ClientRun noBlock = runClient({"--lan", address(), "measure", "--csv"});
    EXPECT_EQ(noBlock.status, 1);
    EXPECT_TRUE(noBlock.out.empty()) << noBlock.out;
    EXPECT_NE(noBlock.err.find("setting block"), std::string::npos) << noBlock.err;
}

}  // namespace
}  // namespace zelvo::testing
