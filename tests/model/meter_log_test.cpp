// The meter's log lines byte for byte, the roll-over names, and the log
// writer's promise never to shorten or overgrow a file.
#include "model/meter_log.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "meter_test_support.h"

using namespace oscilane;
using namespace oscilane::testing_support;

namespace {

MeterReading At(uint8_t mode, float value, uint8_t prefix, uint8_t unit, uint8_t ac,
                uint16_t milliseconds = 456) {
    MeterReading r;
    r.measureMode = mode;
    r.value = value;
    r.prefixIndex = prefix;
    r.unitIndex = unit;
    r.ac = ac;
    r.time = MeterTime{2026, 12, 1, 7, 10, 20, 30, milliseconds};
    return r;
}

struct LineCase {
    const char* name;
    MeterReading reading;
    std::string line;
};

class LogLineTest : public testing::TestWithParam<LineCase> {};

TEST_P(LogLineTest, ReadsAsTheLogHasAlwaysRead) {
    EXPECT_EQ(LogLine(GetParam().reading), GetParam().line + "\r\n");
}

const std::string kStamp = "07/12/2026 10:20:30.45 ";

INSTANTIATE_TEST_SUITE_P(
    Lines, LogLineTest,
    testing::Values(
        LineCase{"kilohm_dc_hundredths_cut", At(2, 12.5f, 4, 2, 0), kStamp + "R=12.50 KRDC"},
        LineCase{"volts_ac_no_prefix", At(0, 1.5f, 7, 0, 1), kStamp + "V=1.50 VAC"},
        LineCase{"negative_milliamps", At(1, -3.25f, 3, 1, 0), kStamp + "A=-3.25 mADC"},
        LineCase{"diode", At(3, 0.512f, 7, 0, 0), kStamp + "DIODE=0.51 VDC"},
        LineCase{"continuity", At(4, 10.0f, 7, 2, 0), kStamp + "CONTI=10.00 RDC"},
        LineCase{"capacitance", At(5, 150.0f, 1, 3, 0), kStamp + "CAP=150.00 nFDC"},
        LineCase{"mode_above_five_is_cap", At(9, 1.0f, 2, 3, 0), kStamp + "CAP=1.00 uFDC"},
        LineCase{"mode_255_is_cap", At(255, 1.0f, 7, 3, 0), kStamp + "CAP=1.00 FDC"},
        LineCase{"unknown_unit_is_empty", At(0, 2.0f, 5, 4, 0), kStamp + "V=2.00 MDC"},
        LineCase{"no_prefix_no_unit", At(0, 2.0f, 9, 200, 1), kStamp + "V=2.00 AC"},
        LineCase{"two_decimals_round", At(0, 2.346f, 0, 0, 0), kStamp + "V=2.35 pVDC"},
        LineCase{"last_hundredth_cut", At(0, 1.0f, 7, 0, 0, 999),
                 "07/12/2026 10:20:30.99 V=1.00 VDC"},
        LineCase{"first_hundredth", At(0, 1.0f, 7, 0, 0, 9), "07/12/2026 10:20:30.00 V=1.00 VDC"}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(LogUnitText, EveryPrefixAndUnit) {
    const char* prefixes[] = {"p", "n", "u", "m", "K", "M", "G", ""};
    const char* units[] = {"V", "A", "R", "F", ""};
    for (int p = 0; p < 8; ++p)
        for (int u = 0; u < 5; ++u)
            EXPECT_EQ(UnitText(p, u), std::string(prefixes[p]) + units[u]) << p << "," << u;
    EXPECT_EQ(UnitText(-1, -1), "");
}

TEST(LogLine, PaddedDateFields) {
    MeterReading r = At(0, 1.0f, 7, 0, 0);
    r.time = MeterTime{987, 1, 0, 2, 3, 4, 5, 60};
    EXPECT_EQ(LogLine(r), "02/01/0987 03:04:05.06 V=1.00 VDC\r\n");
}

TEST(RolloverName, NumberGoesBeforeTheExtension) {
    struct {
        std::string path;
        int counter;
        std::string name;
    } cases[] = {
        {"/data/m.txt", 0, "/data/m.txt"},
        {"/data/m.txt", 1, "/data/m-1.txt"},
        {"/data/m.txt", 2, "/data/m-2.txt"},
        {"/data/meter.doc", 12, "/data/meter-12.doc"},
        {"relative.doc", 3, "relative-3.doc"},
        // Names too short to split keep the folder intact.
        {"/data.d/m", 1, "/data.d/m-1"},
        {"/data.d/abcd", 1, "/data.d/abcd-1"},
        {"ab", 1, "ab-1"},
    };
    for (const auto& c : cases) EXPECT_EQ(RolloverName(c.path, c.counter), c.name) << c.path;
}

TEST(LogFileWriter, AppendsToAnExistingLog) {
    TempDir dir;
    std::string path = dir.file("m.txt");
    WriteFile(path, "earlier\r\n");
    LogFileWriter writer;
    EXPECT_FALSE(writer.Append(path, "one\r\n"));
    EXPECT_FALSE(writer.Append(path, "two\r\n"));
    EXPECT_EQ(readBytes(path), "earlier\r\none\r\ntwo\r\n");
    EXPECT_EQ(writer.Counter(), 0);
}

TEST(LogFileWriter, FullFileRollsOverToAnExistingNumberedFileWithoutEmptyingIt) {
    TempDir dir;
    std::string path = dir.file("m.txt");
    const std::string full(20, 'x');
    WriteFile(path, full);
    WriteFile(dir.file("m-1.txt"), "kept\r\n");
    LogFileWriter writer(20);
    EXPECT_FALSE(writer.Append(path, "new\r\n"));
    EXPECT_EQ(readBytes(path), full);
    EXPECT_EQ(readBytes(dir.file("m-1.txt")), "kept\r\nnew\r\n");
    EXPECT_EQ(writer.Counter(), 1);
}

TEST(LogFileWriter, SkipsEveryFullFileAndNeverGrowsOne) {
    TempDir dir;
    std::string path = dir.file("m.txt");
    LogFileWriter writer(10);
    // Each batch lands whole in one file; a file that reached the limit is
    // left as it is and the next batch starts the next number.
    for (int batch = 0; batch < 5; ++batch) EXPECT_FALSE(writer.Append(path, "abcdef\r\n"));
    EXPECT_EQ(readBytes(path), "abcdef\r\nabcdef\r\n");
    EXPECT_EQ(readBytes(dir.file("m-1.txt")), "abcdef\r\nabcdef\r\n");
    EXPECT_EQ(readBytes(dir.file("m-2.txt")), "abcdef\r\n");
    EXPECT_EQ(writer.Counter(), 2);

    // A writer started later (counter 0 again) finds the same place.
    LogFileWriter restarted(10);
    EXPECT_FALSE(restarted.Append(path, "z\r\n"));
    EXPECT_EQ(readBytes(dir.file("m-2.txt")), "abcdef\r\nz\r\n");
}

TEST(LogFileWriter, ReportsAnUnwritablePathAndWorksOnceItIsThere) {
    TempDir dir;
    std::string path = dir.file("later/m.txt");
    LogFileWriter writer;
    auto error = writer.Append(path, "one\r\n");
    ASSERT_TRUE(error);
    EXPECT_NE(error->find(path), std::string::npos) << *error;
    std::filesystem::create_directory(dir.file("later"));
    EXPECT_FALSE(writer.Append(path, "one\r\n"));
    EXPECT_EQ(readBytes(path), "one\r\n");
}

TEST(LogFileWriter, ProbeRefusesAnUnwritablePathAndWritesNothing) {
    TempDir dir;
    LogFileWriter writer(10);
    EXPECT_TRUE(writer.Probe(dir.file("missing/m.txt")));
    std::string path = dir.file("m.txt");
    WriteFile(path, std::string(10, 'x'));
    EXPECT_FALSE(writer.Probe(path));
    EXPECT_EQ(readBytes(path), std::string(10, 'x'));
    EXPECT_EQ(readBytes(dir.file("m-1.txt")), "") << "the probe opens where the log will go";
}

TEST(CsvText, BaseUnitsIsoTimesAndEmptyOverloads) {
    MeterReading millivolts = At(0, 1.234f, 3, 0, 1);
    MeterReading kilohms = At(2, 12.5f, 4, 2, 0);
    MeterReading overload = At(5, 0.0f, 1, 3, 0);
    overload.overload = 1;
    MeterReading nanofarads = At(5, 150.0f, 1, 3, 0, 7);
    MeterReading readings[] = {millivolts, kilohms, overload, nanofarads};
    EXPECT_EQ(CsvText(readings),
              "time,value,unit,mode,acdc\r\n"
              "2026-12-07T10:20:30.456,0.001234,V,V,AC\r\n"
              "2026-12-07T10:20:30.456,12500,\u03a9,R,DC\r\n"
              "2026-12-07T10:20:30.456,,F,CAP,DC\r\n"
              "2026-12-07T10:20:30.007,1.5e-07,F,CAP,DC\r\n");
}

TEST(WriteFileWhole, ReplacesTheFileAndLeavesNothingElse) {
    TempDir dir;
    std::string path = dir.file("trend.doc");
    WriteFile(path, "a much longer earlier content\r\n");
    EXPECT_FALSE(WriteFileWhole(path, "new\r\n"));
    EXPECT_EQ(readBytes(path), "new\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST(WriteFileWhole, FailureLeavesTheOldFileAndNoTemporary) {
    TempDir dir;
    // A folder where the file should go cannot be replaced by a file.
    std::string path = dir.file("taken");
    std::filesystem::create_directory(path);
    EXPECT_TRUE(WriteFileWhole(path, "new\r\n"));
    EXPECT_TRUE(std::filesystem::is_directory(path));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
    EXPECT_TRUE(WriteFileWhole(dir.file("missing/trend.doc"), "x"));
}

}  // namespace
