// The setup file and its recall: what a block's setup reads, the file's
// bytes and its round trip, every refused text with its line, and the plan
// of setting commands with the trigger mode ordered before what depends on it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "block_builder.h"
#include "model/scope_setup_file.h"
#include "model/scope_setup_recall.h"

namespace {

using namespace oscilane;
using scopetest::BlockBuilder;
namespace L = zelvo::layout;

std::size_t place(const std::string& name) {
    for (std::size_t i = 0; i < kSetupSettings.size(); ++i)
        if (name == kSetupSettings[i].name) return i;
    ADD_FAILURE() << "no setting " << name;
    return 0;
}
int64_t valueOf(const SetupValues& v, const std::string& name) { return v[place(name)]; }
SetupValues with(SetupValues v, const std::vector<std::pair<std::string, int64_t>>& changes) {
    for (const auto& [name, value] : changes) v[place(name)] = value;
    return v;
}
std::vector<std::string> names(const std::vector<SetupChange>& plan) {
    std::vector<std::string> out;
    for (const SetupChange& c : plan)
        out.push_back(c.setting().name + ("=" + std::to_string(c.value)));
    return out;
}

class ScratchFile : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ =
            std::filesystem::temp_directory_path() /
            ("setup-test-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }
    std::filesystem::path folder_;
};

TEST(SetupRead, EachKindOfFieldComesFromItsPlaceInTheBlock) {
    BlockBuilder b;
    b.channel(kCh2, L::channel::kShown, 1)
        .channel(kCh2, L::channel::kVoltsIndex, 12)
        .channel(kCh1, L::channel::kCoupling, 2)
        .channel(kMath, L::channel::kProbe, 3)
        .channel(kRef, L::channel::kPosition, 199)
        .channel(kCh1, L::channel::kBandwidth100M, 1)
        .channel(kMath, L::channel::kVoltsStep, 1)
        .channel(kCh2, L::channel::kTriggerLevel, 37)
        .channel(kCh2, L::channel::kAltTimeBase, 30)
        .u16(L::kTimeBase, 25)
        .u16(L::kHorizontalTrigger, 300)
        .u16(L::kTriggerMode, 2)
        .u16(L::kMainTrigger + L::trigger::kSource, 2)
        .u32(L::kMainTrigger + L::trigger::kPulseWidth, 2000000000)
        .u16(L::altTriggerRecord(1) + L::trigger::kType, 1)
        .u16(L::altTriggerRecord(1) + L::trigger::kPulseCondition, 5)
        .u16(L::altTriggerRecord(0) + L::trigger::kHfReject, 1)
        .u32(L::kMathSourceB, 1)
        .u16(L::kFftWindow, 3)
        .u16(L::kDisplayFormat, 2)
        .u16(L::kRunStop, 1);
    const SetupValues v = ReadSetup(b.block);
    const std::pair<const char*, int64_t> expected[] = {
        {"CH2.shown", 1},
        {"CH1.shown", 0},
        {"CH2.voltsIndex", 12},
        {"CH1.coupling", 2},
        {"MATH.probe", 3},
        {"REF.position", 199},
        {"CH1.bw100M", 1},
        {"MATH.voltsStep", 1},
        {"CH2.triggerLevel", 37},
        {"CH2.altTimeBase", 30},
        {"timeBase", 25},
        {"horizontalTrigger", 300},
        {"trigger.mode", 2},
        {"trigger.source", 2},
        {"trigger.pulseWidth5ns", 2000000000},
        {"ALT2.type", 1},
        {"ALT2.pulseCondition", 5},
        {"ALT1.hfReject", 1},
        {"ALT2.hfReject", 0},
        {"MATH.sourceB", 1},
        {"MATH.fftWindow", 3},
        {"format", 2},
        {"running", 0},
    };
    for (const auto& [name, value] : expected) EXPECT_EQ(valueOf(v, name), value) << name;
}

TEST(SetupText, HeaderThenOneCrLfLinePerSettingAndBackUnchanged) {
    BlockBuilder b;
    b.channel(kCh1, L::channel::kShown, 1)
        .u32(L::altTriggerRecord(0) + L::trigger::kPulseWidth, 123456);
    const SetupValues v = ReadSetup(b.block);
    const std::string text = SetupText(v);
    EXPECT_EQ(text.rfind("Oscilane setup 1\r\nCH1.shown = 1\r\nCH1.voltsIndex = 0\r\n", 0), 0u);
    EXPECT_NE(text.find("\r\nALT1.pulseWidth5ns = 123456\r\n"), std::string::npos);
    EXPECT_EQ(text.substr(text.size() - 13), "running = 1\r\n");
    std::size_t lines = 0;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (text[i] == '\n') {
            ++lines;
            EXPECT_EQ(text[i - 1], '\r');
        }
    EXPECT_EQ(lines, kSetupSettingCount + 1);
    const SetupParse back = ParseSetup(text);
    ASSERT_TRUE(back.values) << back.refusal.text();
    EXPECT_EQ(*back.values, v);
}

TEST(SetupText, LfEndingsBlankLinesAndSpacesAreRead) {
    const SetupValues v = ReadSetup(BlockBuilder{}.block);
    std::string text = SetupText(v);
    std::string loose;
    for (char c : text)
        if (c != '\r') loose += c;
    loose.replace(loose.find("CH1.probe = 0"), 13, "\t CH1.probe=3  ");
    loose += "\n\n";
    const SetupParse parsed = ParseSetup(loose);
    ASSERT_TRUE(parsed.values) << parsed.refusal.text();
    EXPECT_EQ(valueOf(*parsed.values, "CH1.probe"), 3);
}

TEST(SetupText, BrokenTextsAreRefusedWithTheLineAndWhy) {
    const std::string good = SetupText(ReadSetup(BlockBuilder{}.block));
    const auto replaced = [&good](const std::string& line, const std::string& by) {
        std::string t = good;
        t.replace(t.find(line), line.size(), by);
        return t;
    };
    const int probeLine = 5;  // header, shown, voltsIndex, coupling, probe
    struct Case {
        std::string text;
        int line;
        const char* reason;
    };
    const Case cases[] = {
        {"", 1, "empty"},
        {"Oscilane setup 2\r\n", 1, "not a setup file"},
        {"time_s,volts\r\n0,1\r\n", 1, "not a setup file"},
        {replaced("CH1.probe = 0", "CH1.probes = 0"), probeLine, "unknown setting \"CH1.probes\""},
        {replaced("CH1.probe = 0", "CH1.probe = 4"), probeLine, "CH1.probe: 4 is outside 0..3"},
        {replaced("CH1.probe = 0", "CH1.probe = -1"), probeLine, "outside 0..3"},
        {replaced("CH1.probe = 0", "CH1.probe = 99999999999999999999999"), probeLine, "outside"},
        {replaced("CH1.probe = 0", "CH1.probe = 1.5"), probeLine, "\"1.5\" is not a whole number"},
        {replaced("CH1.probe = 0", "CH1.probe = x"), probeLine, "not a whole number"},
        {replaced("CH1.probe = 0", "CH1.probe ="), probeLine, "not a whole number"},
        {replaced("CH1.probe = 0", "CH1.probe 0"), probeLine, "not a \"name = value\" line"},
        {replaced("CH1.probe = 0", "CH1.shown = 0"), probeLine,
         "CH1.shown is given again (first on line 2)"},
        {replaced("CH1.probe = 0\r\n", ""), static_cast<int>(kSetupSettingCount) + 1,
         "CH1.probe is missing"},
        {replaced("CH1.probe = 0\r\n", "CH1.probe = 0\r"), probeLine, "stray carriage return"},
        {replaced("CH1.probe = 0", std::string("CH1.probe = \0", 13)), probeLine, "NUL"},
        {replaced("trigger.pulseWidth5ns = 0", "trigger.pulseWidth5ns = 2147483648"), 46,
         "outside 0..2147483647"},
    };
    for (const Case& c : cases) {
        const SetupParse p = ParseSetup(c.text);
        EXPECT_FALSE(p.values) << c.reason;
        EXPECT_EQ(p.refusal.line, c.line) << c.reason << ": " << p.refusal.text();
        EXPECT_NE(p.refusal.reason.find(c.reason), std::string::npos) << p.refusal.text();
    }
}

TEST_F(ScratchFile, SavedFileHoldsTheTextAndLoadsBack) {
    const SetupValues v =
        with(ReadSetup(BlockBuilder{}.block), {{"timeBase", 19}, {"CH1.shown", 1}});
    const auto path = folder_ / "bench.setup";
    ASSERT_FALSE(SaveSetupFile(v, path));
    std::ifstream in(path, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), {}};
    EXPECT_EQ(bytes, SetupText(v));
    const SetupParse loaded = LoadSetupFile(path);
    ASSERT_TRUE(loaded.values) << loaded.refusal.text();
    EXPECT_EQ(*loaded.values, v);
}

TEST_F(ScratchFile, AValueOutOfRangeIsNotSavedAndUnreadableFilesAreRefused) {
    const SetupValues bad = with(ReadSetup(BlockBuilder{}.block), {{"CH2.coupling", 7}});
    const auto path = folder_ / "bad.setup";
    const auto why = SaveSetupFile(bad, path);
    ASSERT_TRUE(why);
    EXPECT_NE(why->find("CH2.coupling is 7, outside 0..2"), std::string::npos) << *why;
    EXPECT_FALSE(std::filesystem::exists(path));

    EXPECT_FALSE(LoadSetupFile(folder_ / "missing.setup").values);
    EXPECT_FALSE(LoadSetupFile(folder_).values);
    const auto huge = folder_ / "huge.setup";
    std::ofstream(huge, std::ios::binary) << std::string(kSetupFileMaxBytes + 1, 'x');
    const SetupParse tooLong = LoadSetupFile(huge);
    EXPECT_FALSE(tooLong.values);
    EXPECT_EQ(tooLong.refusal.line, 0);
    EXPECT_NE(tooLong.refusal.text().find("too long"), std::string::npos);
}

TEST(SetupPlan, OneCommandPerDifferingSettingWithTheModeBeforeItsDependants) {
    const SetupValues edge = ReadSetup(BlockBuilder{}.block);  // trigger mode 0, all zero
    const SetupValues alt = with(edge, {{"trigger.mode", 2}});
    struct Case {
        const char* what;
        SetupValues present;
        SetupValues saved;
        std::vector<std::string> plan;
    };
    const Case cases[] = {
        {"nothing differs", edge, edge, {}},
        {"settings that need no mode, in the file's order",
         edge,
         with(edge, {{"REF.position", 9}, {"CH1.probe", 1}}),
         {"CH1.probe=1", "REF.position=9"}},
        {"into ALT: the common settings first, the ALT ones after the mode",
         edge,
         with(alt, {{"timeBase", 20},
                    {"CH1.altTimeBase", 21},
                    {"CH2.altTimeBase", 22},
                    {"trigger.pulseWidth5ns", 30},
                    {"ALT1.pulseWidth5ns", 31},
                    {"ALT2.pulseWidth5ns", 32}}),
         {"timeBase=20", "trigger.pulseWidth5ns=30", "trigger.mode=2", "CH1.altTimeBase=21",
          "ALT1.pulseWidth5ns=31", "ALT2.pulseWidth5ns=32", "CH2.altTimeBase=22"}},
        {"out of ALT: the ALT settings first",
         alt,
         with(edge, {{"trigger.mode", 1},
                     {"timeBase", 20},
                     {"CH1.altTimeBase", 21},
                     {"ALT2.pulseWidth5ns", 32}}),
         {"CH1.altTimeBase=21", "ALT2.pulseWidth5ns=32", "trigger.mode=1", "timeBase=20"}},
        {"ALT kept, the common time base set on the way through Edge",
         alt,
         with(alt, {{"timeBase", 20}, {"CH2.shown", 1}}),
         {"trigger.mode=0", "timeBase=20", "trigger.mode=2", "CH2.shown=1"}},
        {"Edge to Pulse through ALT for an ALT pulse width",
         edge,
         with(edge, {{"trigger.mode", 1}, {"ALT1.pulseWidth5ns", 31}}),
         {"trigger.mode=2", "ALT1.pulseWidth5ns=31", "trigger.mode=1"}},
        {"the sweep and run/stop come last",
         edge,
         with(edge, {{"running", 0}, {"trigger.sweep", 2}, {"format", 1}}),
         {"format=1", "trigger.sweep=2", "running=0"}},
    };
    for (const Case& c : cases) EXPECT_EQ(names(PlanSetup(c.saved, c.present)), c.plan) << c.what;
}

// A port that records what it is sent and uploads a block the test chose.
class FakePort final : public SetupPort {
  public:
    explicit FakePort(SettingBlock uploaded, bool works = true)
        : block_(uploaded), uploads_(works) {}
    bool send(const SetupChange& change) override {
        sent.push_back(change);
        return change.setting().kind != SetupKind::Format;  // the instrument refuses one
    }
    bool upload(SettingBlock& block) override {
        ++uploads;
        if (uploads_) block = block_;
        return uploads_;
    }
    std::vector<SetupChange> sent;
    int uploads = 0;

  private:
    SettingBlock block_;
    bool uploads_;
};

TEST(SetupRecall, SendsThePlanUploadsOnceAndNamesWhatDidNotTake) {
    BlockBuilder after;  // the instrument took the probe but not the format
    after.channel(kCh1, L::channel::kProbe, 2);
    const SetupValues present = ReadSetup(BlockBuilder{}.block);
    const SetupValues saved = with(present, {{"CH1.probe", 2}, {"format", 1}});
    FakePort port(after.block);
    SettingBlock block{};
    const SetupRecallResult r = RecallSetup(saved, present, port, block);
    EXPECT_EQ(port.sent, PlanSetup(saved, present));
    EXPECT_EQ(r.commandsSent, 2);
    EXPECT_EQ(r.commandsRefused, 1);
    EXPECT_EQ(port.uploads, 1);
    EXPECT_EQ(block, after.block);
    ASSERT_EQ(r.missed.size(), 1u);
    EXPECT_EQ(r.missed[0].text(), "format: saved 1, the instrument has 0");
    EXPECT_FALSE(r.ok());
}

TEST(SetupRecall, AFailedUploadComparesNothing) {
    const SetupValues present = ReadSetup(BlockBuilder{}.block);
    FakePort port(BlockBuilder{}.block, false);
    SettingBlock block{};
    const SetupRecallResult r =
        RecallSetup(with(present, {{"CH2.probe", 1}}), present, port, block);
    EXPECT_EQ(r.commandsSent, 1);
    EXPECT_FALSE(r.uploaded);
    EXPECT_TRUE(r.missed.empty());
    EXPECT_FALSE(r.ok());
}

}  // namespace
