// zelvo gen as scripts use it: the file it writes is byte for byte the one
// the generator window's Save writes for the same design, out-of-range values
// are limited as the window limits them, and a bad shape or number exits 2
// and writes nothing.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "client_runner.h"
#include "model/generator_csv.h"
#include "model/generator_limits.h"
#include "model/generator_wave.h"

namespace zelvo::testing {
namespace {

using oscilane::GeneratorBox;
using oscilane::GeneratorWave;
using oscilane::WaveType;
using Args = std::vector<std::string>;

std::string fileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// The file the window's Save writes for the wave.
std::string savedByModel(GeneratorWave wave, const std::string& path) {
    EXPECT_TRUE(oscilane::SaveCsv(wave, path).ok());
    return fileText(path);
}

struct SameBytesCase {
    const char* what;
    Args options;
    std::function<void(GeneratorWave&)> design;  // the same design through the model
};

TEST(GenVerb, WritesTheBytesTheModelSaves) {
    const auto type = [](WaveType t) {
        return [t](GeneratorWave& w) { w.waveType = w.baseType = t; };
    };
    const SameBytesCase cases[] = {
        {"defaults", {}, [](GeneratorWave&) {}},
        {"square",
         {"--shape", "square", "--duty", "0.25", "--amplitude", "1.5", "--offset", "-1"},
         [&](GeneratorWave& w) {
             type(WaveType::Square)(w);
             w.squareDuty = 0.25f;
             w.amplitude = 1.5f;
             w.offset = -1;
         }},
        {"ramp",
         {"--shape", "ramp", "--duty", "0.3", "--phase", "0.5"},
         [&](GeneratorWave& w) {
             type(WaveType::Ramp)(w);
             w.rampDuty = 0.3f;
             w.phase = 0.5f;
         }},
        {"trapezia",
         {"--shape", "trapezia", "--rise-duty", "0.1", "--high-duty", "0.3", "--fall-duty", "0.1"},
         [&](GeneratorWave& w) {
             type(WaveType::Trapezia)(w);
             w.riseDuty = 0.1f;
             w.highDuty = 0.3f;
             w.fallDuty = 0.1f;
         }},
        {"dc",
         {"--shape", "dc", "--offset", "2.5"},
         [&](GeneratorWave& w) {
             type(WaveType::Dc)(w);
             w.offset = 2.5;
         }},
        {"exponent",
         {"--shape", "exponent", "--tau", "0.0005", "--frequency", "500"},
         [&](GeneratorWave& w) {
             type(WaveType::Exponent)(w);
             w.tau = 0.0005f;
             w.frequency = 500;
         }},
        {"fm",
         {"--shape", "amfm", "--fm", "--high-frequency", "20000", "--max-frequency", "4000",
          "--depth", "0.8"},
         [&](GeneratorWave& w) {
             type(WaveType::AmFm)(w);
             w.fmFlag = 1;
             w.highFrequency = 20000;
             w.maximumFrequency = 4000;
             w.depth = 0.8f;
         }},
    };
    ScratchFolder folder;
    for (const SameBytesCase& c : cases) {
        const std::string path = folder.path() + "/gen.csv";
        Args args = {"gen", "--csv", path};
        args.insert(args.end(), c.options.begin(), c.options.end());
        const ClientRun run = runClient(args);
        ASSERT_EQ(run.status, 0) << c.what << run.err;
        const std::string written = fileText(path);
        GeneratorWave wave;
        c.design(wave);
        EXPECT_EQ(written, savedByModel(wave, folder.path() + "/model.csv")) << c.what;
    }
}

TEST(GenVerb, DefaultSineFileBeginsWithClockSizeAndFirstSample) {
    ScratchFolder folder;
    const std::string path = folder.path() + "/sine.csv";
    ASSERT_EQ(runClient({"gen", "--csv", path}).status, 0);
    EXPECT_EQ(fileText(path).rfind("#CLOCK=1000000.000000\r\n#SIZE=1000\r\n0.000000,0,0\r\n", 0),
              0u);
}

TEST(GenVerb, LimitsValuesAsTheWindowDoes) {
    ScratchFolder folder;
    const std::string path = folder.path() + "/limited.csv";
    const ClientRun run = runClient({"gen", "--shape", "amfm", "--frequency", "80000000",
                                     "--amplitude", "9", "--offset", "-9", "--high-frequency",
                                     "10000", "--max-frequency", "6000", "--csv", path});
    ASSERT_EQ(run.status, 0) << run.err;
    GeneratorWave wave;
    wave.waveType = wave.baseType = WaveType::AmFm;
    wave.frequency = 75'000'000;
    wave.amplitude = 3.5f;
    wave.offset = -7;
    wave.maximumFrequency = 5000;
    EXPECT_EQ(fileText(path), savedByModel(wave, folder.path() + "/model.csv"));
}

TEST(GenVerb, BadShapeOrNumberExitsTwoAndWritesNothing) {
    const Args cases[] = {
        {"--shape", "triangle"}, {"--shape", "arb"},       {"--frequency", "1e3x"},
        {"--amplitude", ""},     {"--offset", "nan"},      {"--phase", "0,5"},
        {"--tau", "inf"},        {"--max-frequency", "x"},
    };
    ScratchFolder folder;
    const std::string path = folder.path() + "/never.csv";
    for (const Args& options : cases) {
        Args args = {"gen", "--csv", path};
        args.insert(args.end(), options.begin(), options.end());
        const ClientRun run = runClient(args);
        EXPECT_EQ(run.status, 2) << options[0] << " " << options[1];
        EXPECT_EQ(run.err.rfind("zelvo: ", 0), 0u) << run.err;
        EXPECT_FALSE(std::filesystem::exists(path)) << options[0] << " " << options[1];
    }
    EXPECT_EQ(runClient({"gen"}).status, 2);  // --csv is required
}

TEST(GenVerb, HasItsOwnHelp) {
    const ClientRun run = runClient({"gen", "--help"});
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("Usage: zelvo gen"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("--max-frequency"), std::string::npos) << run.out;
}

TEST(GenVerb, UnwritableFileExitsOneWithTheSaveMessage) {
    ScratchFolder folder;
    const ClientRun run = runClient({"gen", "--csv", folder.path() + "/missing/x.csv"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("Cann't Save file: "), std::string::npos) << run.err;
}

}  // namespace
}  // namespace zelvo::testing
