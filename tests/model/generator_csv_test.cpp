// The generator's CSV file: the bytes a save writes, what a load takes from
// hand-written and damaged files, and that a failure changes nothing.
#include "model/generator_csv.h"

#include "model/generator_limits.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

using namespace oscilane;
namespace fs = std::filesystem;

namespace {

class TemporaryDirectory {
  public:
    TemporaryDirectory() {
        std::string pattern = (fs::temp_directory_path() / "zelvo-gencsv-XXXXXX").string();
        if (::mkdtemp(pattern.data()) != nullptr) path_ = pattern;
    }
    ~TemporaryDirectory() {
        std::error_code ignored;
        if (!path_.empty()) fs::remove_all(path_, ignored);
    }
    const fs::path& path() const { return path_; }

  private:
    fs::path path_;
};

std::string fileText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void writeFile(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

CsvResult readText(GeneratorWave& wave, const std::string& text) {
    std::istringstream in(text);
    return ReadCsv(wave, in);
}

class GeneratorCsvFile : public testing::Test {
  protected:
    void SetUp() override { ASSERT_FALSE(dir_.path().empty()); }
    fs::path file(const char* name) const { return dir_.path() / name; }
    std::size_t entries() const {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir_.path()), {}));
    }

    TemporaryDirectory dir_;
};

TEST_F(GeneratorCsvFile, DefaultSineAsTheWindowsProgramWritesIt) {
    GeneratorWave wave;
    const fs::path path = file("sine.csv");
    ASSERT_TRUE(SaveCsv(wave, path).ok());
    const std::string text = fileText(path);
    EXPECT_EQ(text.substr(0, 49), "#CLOCK=1000000.000000\r\n#SIZE=1000\r\n0.000000,0,0\r\n");
    EXPECT_NE(text.find("\r\n2.000000,0,0\r\n"), std::string::npos) << "the peak at 250";
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1002);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\r'), 1002);
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
    EXPECT_EQ(entries(), 1u) << "no temporary file is left beside the file";
}

TEST(GeneratorCsvText, ClockIsRoundedToSinglePrecision) {
    GeneratorWave wave;
    wave.frequency = 11111111.1;  // x 3 = 33333333.3, the nearest float is 33333334
    wave.sampleCount = 3;
    wave.samples[1] = -1.25f;
    EXPECT_EQ(CsvText(wave),
              "#CLOCK=33333334.000000\r\n#SIZE=3\r\n0.000000,0,0\r\n-1.250000,0,0\r\n"
              "0.000000,0,0\r\n");
}

TEST_F(GeneratorCsvFile, SaveRebuildsAStandardShapeButKeepsAnEditedOne) {
    GeneratorWave square;
    square.waveType = WaveType::Square;
    square.samples.fill(9.0f);  // a stale buffer
    ASSERT_TRUE(SaveCsv(square, file("square.csv")).ok());
    EXPECT_EQ(fileText(file("square.csv")).substr(35, 26), "2.000000,0,0\r\n2.000000,0,0");

    GeneratorWave edited;
    edited.waveType = WaveType::Arbitrary;
    edited.sampleCount = 2;
    edited.samples[0] = 1.5f;
    edited.samples[1] = -0.5f;
    ASSERT_TRUE(SaveCsv(edited, file("edited.csv")).ok());
    EXPECT_EQ(fileText(file("edited.csv")),
              "#CLOCK=2000.000000\r\n#SIZE=2\r\n1.500000,0,0\r\n-0.500000,0,0\r\n");
}

TEST_F(GeneratorCsvFile, EveryTypeSurvivesASaveAndALoad) {
    for (int type = 0; type <= 10; ++type) {
        GeneratorWave wave;
        wave.waveType = static_cast<WaveType>(type);
        wave.baseType = WaveType::Trapezia;  // the shape of the "Arb" one
        wave.offset = 0.75;
        wave.frequency = 250.0;
        if (wave.waveType == WaveType::Arbitrary) Synthesize(wave);
        const fs::path path = file("wave.csv");
        ASSERT_TRUE(SaveCsv(wave, path).ok()) << type;
        const std::string saved = fileText(path);

        GeneratorWave loaded;
        loaded.baseType = WaveType::Ramp;
        ASSERT_TRUE(LoadCsv(loaded, path).ok()) << type;
        EXPECT_EQ(loaded.waveType, WaveType::Arbitrary) << type;
        EXPECT_EQ(loaded.baseType, WaveType::Ramp) << "a load keeps the base type";
        EXPECT_EQ(loaded.sampleCount, wave.sampleCount) << type;
        EXPECT_DOUBLE_EQ(loaded.frequency, 250.0) << type;
        for (int i = 0; i < wave.sampleCount; ++i)
            ASSERT_NEAR(loaded.samples[i], wave.samples[i], 1e-6) << type << " sample " << i;

        ASSERT_TRUE(SaveCsv(loaded, path).ok()) << type;
        EXPECT_EQ(fileText(path), saved) << "type " << type << " saves back the same bytes";
    }
}

TEST(GeneratorCsvLoad, ClockAndSizeGiveTheFrequency) {
    GeneratorWave wave;
    std::string text = "#CLOCK=10000.000000\r\n#SIZE=10\r\n";
    for (int i = 0; i < 10; ++i) text += std::to_string(i) + ".500000,0,0\r\n";
    ASSERT_TRUE(readText(wave, text).ok());
    EXPECT_EQ(wave.sampleCount, 10);
    EXPECT_DOUBLE_EQ(wave.frequency, 1000.0);
    EXPECT_EQ(WaveTypeName(wave.waveType), "Arb");
    EXPECT_FLOAT_EQ(wave.samples[9], 9.5f);
}

TEST(GeneratorCsvLoad, ALoadedBufferCountsAsTheUsersWork) {
    GeneratorWave wave;
    ASSERT_TRUE(readText(wave, "#CLOCK=10\r\n#SIZE=1\r\n1,0,0\r\n").ok());
    EXPECT_TRUE(wave.bufferEdited);
    GeneratorWave refused;
    EXPECT_FALSE(readText(refused, "#CLOCK=10\r\n#SIZE=0\r\n").ok());
    EXPECT_FALSE(refused.bufferEdited);
}

TEST(GeneratorCsvText, TheLowestFrequencyLoadsBackAtEverySampleCount) {
    for (const uint16_t count : {uint16_t{1}, uint16_t{1000}, uint16_t{4096}}) {
        GeneratorWave wave;
        wave.waveType = WaveType::Arbitrary;
        wave.sampleCount = count;
        AcceptBoxValue(wave, GeneratorBox::Frequency, 0);
        GeneratorWave loaded;
        ASSERT_TRUE(readText(loaded, CsvText(wave)).ok()) << count;
        EXPECT_EQ(loaded.sampleCount, count);
        EXPECT_NEAR(loaded.frequency, wave.frequency, 1e-9) << count;
    }
}

TEST(GeneratorCsvLoad, OnlyThePositionOfTheEqualsSignCounts) {
    GeneratorWave wave;
    ASSERT_TRUE(readText(wave, "rate=x=400\nN=4.9\n1,0,0\n").ok());
    EXPECT_EQ(wave.sampleCount, 4) << "the count is truncated";
    EXPECT_DOUBLE_EQ(wave.frequency, 100.0);
    EXPECT_FLOAT_EQ(wave.samples[0], 1.0f);
    EXPECT_EQ(wave.samples[1], 0.0f) << "missing lines give 0";
    EXPECT_EQ(wave.samples[3], 0.0f);
}

struct SampleLine {
    const char* line;
    float volts;
};

void PrintTo(const SampleLine& c, std::ostream* os) { *os << '"' << c.line << '"'; }

class SampleLines : public testing::TestWithParam<SampleLine> {};

TEST_P(SampleLines, ReadAsTheStrictParserReadsThem) {
    GeneratorWave wave;
    wave.samples[0] = 42.0f;
    ASSERT_TRUE(readText(wave, std::string("#CLOCK=1\r\n#SIZE=1\r\n") + GetParam().line).ok());
    EXPECT_EQ(wave.samples[0], GetParam().volts) << '"' << GetParam().line << '"';
}

INSTANTIATE_TEST_SUITE_P(
    GeneratorCsvLoad, SampleLines,
    testing::Values(SampleLine{"1.5,0,0\r\n", 1.5f}, SampleLine{"-2.25,7,8\n", -2.25f},
                    SampleLine{"1.5,0,0 \t\r\n", 1.5f}, SampleLine{"1.5\r\n", 0.0f},
                    SampleLine{"1.5e3,0,0\r\n", 0.0f}, SampleLine{"1.5 ,0,0\r\n", 0.0f},
                    SampleLine{" 1.5,0,0\r\n", 0.0f}, SampleLine{"abc,0,0\r\n", 0.0f},
                    SampleLine{",0,0\r\n", 0.0f}, SampleLine{"", 0.0f},
                    // beyond what a float holds
                    SampleLine{"1000000000000000000000000000000000000000,0,0", 0.0f},
                    SampleLine{"340000000000000000000000000000000000000,0,0", 3.4e38f}));

struct Refusal {
    const char* name;
    std::string text;
    CsvOutcome outcome;
};

void PrintTo(const Refusal& c, std::ostream* os) { *os << c.name; }

class Refusals : public testing::TestWithParam<Refusal> {};

TEST_P(Refusals, LeaveTheWaveAsItWas) {
    GeneratorWave wave;
    wave.waveType = WaveType::Square;
    wave.samples[0] = 1.25f;
    const GeneratorWave before = wave;
    const CsvResult result = readText(wave, GetParam().text);
    EXPECT_EQ(result.outcome, GetParam().outcome);
    EXPECT_EQ(result.message().rfind("Cann't Save file: ", 0), 0u) << result.message();
    EXPECT_TRUE(wave == before);
}

std::string refusalName(const testing::TestParamInfo<Refusal>& info) { return info.param.name; }

INSTANTIATE_TEST_SUITE_P(
    GeneratorCsvLoad, Refusals,
    testing::Values(
        Refusal{"SizeZero", "#CLOCK=1000\r\n#SIZE=0\r\n", CsvOutcome::BadSampleCount},
        Refusal{"SizeBelowOne", "#CLOCK=1000\r\n#SIZE=0.9\r\n", CsvOutcome::BadSampleCount},
        Refusal{"SizeAboveBuffer", "#CLOCK=1000\r\n#SIZE=4097\r\n", CsvOutcome::BadSampleCount},
        Refusal{"SizePast16Bits", "#CLOCK=1000\r\n#SIZE=65537\r\n", CsvOutcome::BadSampleCount},
        Refusal{"SizeNegative", "#CLOCK=1000\r\n#SIZE=-5\r\n", CsvOutcome::BadSampleCount},
        Refusal{"SizeNotANumber", "#CLOCK=1000\r\n#SIZE=ten\r\n", CsvOutcome::BadSampleCount},
        Refusal{"EmptyFile", "", CsvOutcome::BadSampleCount},
        Refusal{"ClockZero", "#CLOCK=0.000000\r\n#SIZE=10\r\n", CsvOutcome::BadClock},
        Refusal{"ClockNegative", "#CLOCK=-1000\r\n#SIZE=10\r\n", CsvOutcome::BadClock},
        Refusal{"ClockWithExponent", "#CLOCK=1e4\r\n#SIZE=10\r\n", CsvOutcome::BadClock},
        Refusal{"ClockBeyondAFloat",
                "#CLOCK=1000000000000000000000000000000000000000\r\n#SIZE=10\r\n",
                CsvOutcome::BadClock},
        Refusal{"ClockBelowAFloat",
                "#CLOCK=0.000000000000000000000000000000000000000000000001\r\n#SIZE=10\r\n",
                CsvOutcome::BadClock}),
    refusalName);

TEST_F(GeneratorCsvFile, MissingFileIsAnOpenFailureWithTheSystemsText) {
    GeneratorWave wave;
    const GeneratorWave before = wave;
    const CsvResult result = LoadCsv(wave, file("absent.csv"));
    EXPECT_EQ(result.outcome, CsvOutcome::CannotOpen);
    EXPECT_EQ(result.message(), "Cann't Save file: No such file or directory");
    EXPECT_TRUE(wave == before);
    EXPECT_EQ(LoadCsv(wave, dir_.path()).outcome, CsvOutcome::CannotOpen) << "a folder";
}

TEST(GeneratorCsvResult, ReasonIsCutAt1024Characters) {
    const CsvResult result{CsvOutcome::CannotWrite, std::string(2000, 'x')};
    EXPECT_EQ(result.message(), "Cann't Save file: " + std::string(1024, 'x'));
    EXPECT_EQ(CsvResult{}.message(), "");
}

TEST_F(GeneratorCsvFile, FailedSaveWritesNothingAndRebuildsNothing) {
    GeneratorWave wave;
    wave.waveType = WaveType::Square;
    wave.samples[0] = 9.0f;
    const GeneratorWave before = wave;
    const CsvResult result = SaveCsv(wave, file("no-such-folder") / "wave.csv");
    EXPECT_EQ(result.outcome, CsvOutcome::CannotOpen);
    EXPECT_EQ(result.message(), "Cann't Save file: No such file or directory");
    EXPECT_TRUE(wave == before);

    EXPECT_EQ(SaveCsv(wave, dir_.path()).outcome, CsvOutcome::CannotOpen) << "onto a folder";
    EXPECT_EQ(entries(), 0u);
}

TEST_F(GeneratorCsvFile, SaveReplacesAnOldFileWholeAndKeepsItsMode) {
    const fs::path path = file("old.csv");
    writeFile(path, std::string(100000, 'z'));
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    GeneratorWave wave;
    wave.waveType = WaveType::Arbitrary;
    wave.sampleCount = 1;
    ASSERT_TRUE(SaveCsv(wave, path).ok());
    EXPECT_EQ(fileText(path), "#CLOCK=1000.000000\r\n#SIZE=1\r\n0.000000,0,0\r\n");
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(entries(), 1u);
}

TEST_F(GeneratorCsvFile, SaveThroughALinkWritesTheLinkedFile) {
    const fs::path target = file("target.csv");
    writeFile(target, "old");
    fs::create_symlink(target, file("link.csv"));
    GeneratorWave wave;
    ASSERT_TRUE(SaveCsv(wave, file("link.csv")).ok());
    EXPECT_TRUE(fs::is_symlink(file("link.csv")));
    EXPECT_EQ(fileText(target).substr(0, 21), "#CLOCK=1000000.000000");
}

TEST_F(GeneratorCsvFile, ReadOnlyFileIsNotReplaced) {
    if (::geteuid() == 0) GTEST_SKIP() << "root may write any file";
    const fs::path path = file("locked.csv");
    writeFile(path, "keep");
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    GeneratorWave wave;
    const CsvResult result = SaveCsv(wave, path);
    EXPECT_EQ(result.outcome, CsvOutcome::CannotOpen);
    EXPECT_EQ(result.message(), "Cann't Save file: Permission denied");
    EXPECT_EQ(fileText(path), "keep");
}

}  // namespace
