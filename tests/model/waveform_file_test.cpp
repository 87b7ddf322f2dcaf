// The data file and the CSV of a trace, and the whole-file writer under them:
// exact bytes, the time base each trace takes, and failures that leave nothing.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>
#include "file_text.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "block_builder.h"
#include "model/formatting.h"
#include "model/scope_settings.h"
#include "model/waveform_file.h"
#include "model/whole_file.h"

using namespace oscilane;
using scopetest::BlockBuilder;
using scopetest::kOneMsPerDivision;
namespace L = zelvo::layout;
namespace fs = std::filesystem;

namespace {

constexpr int kAltMode = 2;
constexpr int kFiveUsPerDivision = 12;

class ScratchDir {
  public:
    ScratchDir() {
        std::string pattern = (fs::temp_directory_path() / "waveform-file-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data());
    }
    ~ScratchDir() {
        std::error_code ignored;
        fs::permissions(path_, fs::perms::owner_all, ignored);
        fs::remove_all(path_, ignored);
    }
    fs::path file(const std::string& name) const { return path_ / name; }
    std::vector<std::string> names() const {
        std::vector<std::string> result;
        for (const auto& entry : fs::directory_iterator(path_))
            result.push_back(entry.path().filename().string());
        return result;
    }

  private:
    fs::path path_;
};

using testsupport::crlfLines;
using testsupport::readBytes;

// CH1 shown at 1 V/div, lever 0 (code 255 is 0 V), a ramp of codes.
BlockBuilder rampBlock(int timeBase) {
    BlockBuilder b;
    b.u16(L::kTimeBase, timeBase).shownChannel(kCh1, 10, 100000, 0);
    for (std::size_t i = 0; i < L::kSamplesPerTrace; ++i)
        b.sample(kCh1, i, static_cast<int>(i % 256));
    return b;
}

TEST(WaveformDataText, HeaderSamplesAndLineEnds) {
    BlockBuilder b = rampBlock(kOneMsPerDivision);
    b.sample(kCh1, 1, 32767);
    const std::string text = WaveformDataText(Waveform(b.block, kCh1));
    const std::vector<std::string> lines = crlfLines(text);
    ASSERT_EQ(lines.size(), 1205u);
    EXPECT_EQ(lines[0], "#CHANNEL:CH1");
    EXPECT_EQ(lines[1], "#CLOCK=0.001000000S");
    EXPECT_EQ(lines[2], "#SIZE=1200");
    EXPECT_EQ(lines[3], "#UNITS:V");
    EXPECT_EQ(lines[4], "");
    EXPECT_EQ(lines[5], "-8.000000");  // code 0: eight divisions below the lever
    EXPECT_EQ(lines[6], "nan") << "a blanked sample has no voltage";
    EXPECT_EQ(lines[5 + 255], "0.000000");
    EXPECT_EQ(text.find('\n'), text.find("\r\n") + 1) << "no bare line feed";
}

TEST(WaveformDataText, RollModeBlanksAreNanLines) {
    // Roll fills the trace from the left: the tail is still blanked, and so is
    // an interval the instrument did not sample.  500 mV/div, lever 100.
    constexpr int kFilled = 700;
    BlockBuilder b;
    b.u16(L::kTimeBase, kOneMsPerDivision).u16(L::kDisplayFormat, 2);
    b.shownChannel(kCh1, 9, 50000, 100);
    for (std::size_t i = 0; i < L::kSamplesPerTrace; ++i)
        b.sample(kCh1, i, i < kFilled ? static_cast<int>(i % 200) : 32767);
    for (std::size_t i = 300; i < 310; ++i) b.sample(kCh1, i, 32767);
    const Waveform wave(b.block, kCh1);
    ASSERT_TRUE(ScopeSettings(b.block).isFormat(DisplayFormat::Roll));
    const std::vector<std::string> lines = crlfLines(WaveformDataText(wave));
    ASSERT_EQ(lines.size(), 1205u);
    int nanLines = 0;
    for (int i = 0; i < Waveform::kSamples; ++i) {
        const std::string& line = lines[static_cast<std::size_t>(i) + 5];
        const bool blanked = i >= kFilled || (i >= 300 && i < 310);
        if (line == "nan") ++nanLines;
        EXPECT_EQ(line == "nan", blanked) << i << ": " << line;
        if (!blanked) {
            EXPECT_NEAR(std::stod(line), wave.volts(i), 1e-6) << i;
        }
    }
    EXPECT_EQ(nanLines, Waveform::kSamples - kFilled + 10);
}

TEST(WaveformDataText, ChannelOffIsOneLine) {
    BlockBuilder b = rampBlock(kOneMsPerDivision);
    b.channel(kCh2, L::channel::kShown, 0).channel(kMath, L::channel::kShown, 2);
    EXPECT_EQ(WaveformDataText(Waveform(b.block, kCh2)), "CH OFF\r\n\r\n");
    // Only a shown word of exactly 1 counts as shown.
    EXPECT_EQ(WaveformDataText(Waveform(b.block, kMath)), "CH OFF\r\n\r\n");
}

TEST(WaveformDataText, ClockLineFollowsTheTraceTimeBase) {
    struct Case {
        int channel;
        bool alt;
        const char* clock;
    };
    // Common time base 1 ms/div; own time bases CH1 2 ms, CH2 5 ms, MATH 5 us.
    const Case cases[] = {
        {kCh1, false, "#CLOCK=0.001000000S"},  {kCh2, false, "#CLOCK=0.001000000S"},
        {kMath, false, "#CLOCK=0.000005000S"}, {kCh1, true, "#CLOCK=0.002000000S"},
        {kCh2, true, "#CLOCK=0.005000000S"},   {kMath, true, "#CLOCK=0.000005000S"},
    };
    for (const Case& c : cases) {
        BlockBuilder b;
        b.u16(L::kTimeBase, kOneMsPerDivision).u16(L::kTriggerMode, c.alt ? kAltMode : 0);
        b.channel(kCh1, L::channel::kAltTimeBase, kOneMsPerDivision + 1);
        b.channel(kCh2, L::channel::kAltTimeBase, kOneMsPerDivision + 2);
        b.channel(kMath, L::channel::kAltTimeBase, kFiveUsPerDivision);
        b.shownChannel(c.channel, 10, 100000, 0);
        const std::vector<std::string> lines =
            crlfLines(WaveformDataText(Waveform(b.block, c.channel)));
        ASSERT_GE(lines.size(), 2u);
        EXPECT_EQ(lines[0], std::string("#CHANNEL:") + (c.channel == kMath  ? "MATH"
                                                        : c.channel == kCh2 ? "CH2"
                                                                            : "CH1"));
        EXPECT_EQ(lines[1], c.clock) << c.channel << (c.alt ? " alt" : "");
    }
}

TEST(WaveformCsvText, AgreesWithTheDataFileOfTheSameBlock) {
    BlockBuilder b = rampBlock(kOneMsPerDivision);
    b.sample(kCh1, 7, 32767);
    const Waveform wave(b.block, kCh1);
    const std::vector<std::string> data = crlfLines(WaveformDataText(wave));
    const std::vector<std::string> csv = crlfLines(WaveformCsvText(wave));
    ASSERT_EQ(csv.size(), 1201u);
    EXPECT_EQ(csv[0], "time_s,volts");
    for (int i = 0; i < Waveform::kSamples; ++i) {
        const std::string& row = csv[static_cast<std::size_t>(i) + 1];
        const std::size_t comma = row.find(',');
        ASSERT_NE(comma, std::string::npos) << row;
        // 1 ms/div: 10 us per sample.
        EXPECT_NEAR(std::stod(row.substr(0, comma)), i * 1e-5, 1e-15) << row;
        const std::string volts = row.substr(comma + 1);
        if (i == 7)
            EXPECT_EQ(volts, "") << "a blanked sample has no volts";
        else
            EXPECT_EQ(volts, data[static_cast<std::size_t>(i) + 5]) << i;
    }
    EXPECT_EQ(csv[1], "0,-8.000000");
    EXPECT_EQ(csv[1200], "0.01199," + data[1204]);
}

TEST(WaveformCsvText, TimesKeepNineSignificantDigits) {
    // 5 us/div: 50 ns per sample, so sample 1199 is 5.995e-05 s.
    const Waveform wave(rampBlock(kFiveUsPerDivision).block, kCh1);
    const std::vector<std::string> csv = crlfLines(WaveformCsvText(wave));
    ASSERT_EQ(csv.size(), 1201u);
    EXPECT_EQ(csv[1200].substr(0, csv[1200].find(',')), "5.995e-05");
    EXPECT_EQ(csv[3].substr(0, csv[3].find(',')), "1e-07");
}

TEST(AllChannelsCsvText, OneColumnPerTraceEmptyWhereOffOrBlanked) {
    // CH1 a ramp at 1 V/div; MATH shown at its own (faster) time base, with a
    // blanked sample; CH2 and REF off.  Times follow the main time base.
    BlockBuilder b = rampBlock(kOneMsPerDivision);
    b.shownChannel(kMath, 10, 100000, 0).allSamples(kMath, 200).sample(kMath, 3, 32767);
    b.channel(kMath, L::channel::kAltTimeBase, kFiveUsPerDivision);
    const Waveform ch1(b.block, kCh1);
    const Waveform math(b.block, kMath);
    const std::vector<std::string> rows = crlfLines(AllChannelsCsvText(b.block));
    const std::vector<std::string> single = crlfLines(WaveformCsvText(ch1));
    ASSERT_EQ(rows.size(), 1201u);
    EXPECT_EQ(rows[0], "time_s,CH1,CH2,MATH,REF");
    for (std::size_t i = 1; i < rows.size(); ++i) {
        // time_s,CH1 is what the CH1 CSV holds; CH2 and REF stay empty.
        const std::string mathField =
            i == 4 ? "" : FixedText(math.volts(static_cast<int>(i) - 1), 6);
        ASSERT_EQ(rows[i], single[i] + ",," + mathField + ",") << i;
    }
}

TEST(WaveformFormat, ChosenByTheFileName) {
    EXPECT_EQ(WaveformFormatForName("/tmp/a.csv"), WaveformFileFormat::Csv);
    EXPECT_EQ(WaveformFormatForName("A.CSV"), WaveformFileFormat::Csv);
    for (const char* name : {"a.txt", "a.doc", "a.xls", "a.bmp", "csv", ""})
        EXPECT_EQ(WaveformFormatForName(name), WaveformFileFormat::Data) << name;
}

TEST(SaveWaveformFile, WritesTheExactBytesAndReplacesAnOldFile) {
    ScratchDir dir;
    const Waveform wave(rampBlock(kOneMsPerDivision).block, kCh1);
    const fs::path path = dir.file("trace.doc");
    std::ofstream(path) << std::string(50000, 'x');
    ASSERT_TRUE(SaveWaveformFile(wave, WaveformFileFormat::Data, path).ok());
    EXPECT_EQ(readBytes(path), WaveformDataText(wave));
    ASSERT_TRUE(SaveWaveformFile(wave, WaveformFileFormat::Csv, dir.file("t.csv")).ok());
    EXPECT_EQ(readBytes(dir.file("t.csv")), WaveformCsvText(wave));
    EXPECT_EQ(dir.names().size(), 2u);
}

TEST(SaveWaveformFile, CsvOfAChannelThatIsOffWritesNothing) {
    ScratchDir dir;
    BlockBuilder b = rampBlock(kOneMsPerDivision);
    const WaveformSaveResult r =
        SaveWaveformFile(Waveform(b.block, kCh2), WaveformFileFormat::Csv, dir.file("off.csv"));
    EXPECT_EQ(r.outcome, WaveformSaveOutcome::ChannelOff);
    EXPECT_TRUE(dir.names().empty());
}

TEST(SaveAllChannelsCsv, WritesTheTextOrNothingWhenEveryTraceIsOff) {
    ScratchDir dir;
    const BlockBuilder b = rampBlock(kOneMsPerDivision);
    ASSERT_TRUE(SaveAllChannelsCsv(b.block, dir.file("all.csv")).ok());
    EXPECT_EQ(readBytes(dir.file("all.csv")), AllChannelsCsvText(b.block));
    EXPECT_EQ(SaveAllChannelsCsv(SettingBlock{}, dir.file("off.csv")).outcome,
              WaveformSaveOutcome::ChannelOff);
    EXPECT_EQ(dir.names(), std::vector<std::string>{"all.csv"});
}

TEST(SaveWaveformFile, FailuresLeaveNothingBehind) {
    ScratchDir dir;
    const Waveform wave(rampBlock(kOneMsPerDivision).block, kCh1);
    fs::create_directory(dir.file("taken"));
    struct Case {
        fs::path path;
        WaveformSaveOutcome outcome;
    };
    const Case cases[] = {
        {dir.file("missing/trace.txt"), WaveformSaveOutcome::CannotOpen},
        {dir.file("taken"), WaveformSaveOutcome::CannotOpen},
    };
    for (const Case& c : cases) {
        const WaveformSaveResult r = SaveWaveformFile(wave, WaveformFileFormat::Data, c.path);
        EXPECT_EQ(r.outcome, c.outcome) << c.path;
        EXPECT_FALSE(r.reason.empty());
    }
    EXPECT_EQ(dir.names(), std::vector<std::string>{"taken"});
    EXPECT_TRUE(fs::is_empty(dir.file("taken")));
}

TEST(WriteWholeFile, KeepsTheModeOfAReplacedFileAndFollowsALink) {
    ScratchDir dir;
    const fs::path real = dir.file("real.txt");
    std::ofstream(real) << "old";
    fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::create_symlink(real, dir.file("link.txt"));
    ASSERT_FALSE(WriteWholeFile(dir.file("link.txt"), "new\r\n"));
    EXPECT_TRUE(fs::is_symlink(dir.file("link.txt")));
    EXPECT_EQ(readBytes(real), "new\r\n");
    EXPECT_EQ(fs::status(real).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(dir.names().size(), 2u);
}

TEST(WriteWholeFile, AFolderThatRefusesNewFilesLeavesTheOldFile) {
    ScratchDir dir;
    const fs::path path = dir.file("kept.txt");
    std::ofstream(path) << "old";
    fs::permissions(dir.file(""), fs::perms::owner_read | fs::perms::owner_exec);
    if (::access(dir.file("").c_str(), W_OK) == 0) GTEST_SKIP() << "running as root";
    const auto failure = WriteWholeFile(path, "new");
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->stage, WholeFileStage::Open);
    EXPECT_FALSE(failure->systemMessage().empty());
    fs::permissions(dir.file(""), fs::perms::owner_all);
    EXPECT_EQ(readBytes(path), "old");
    EXPECT_EQ(dir.names(), std::vector<std::string>{"kept.txt"});
}

}  // namespace
