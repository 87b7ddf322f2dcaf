// Reading capture files back: every layout the scope writes comes back as
// the same waveforms and the same bytes, and broken or hostile files are
// refused whole, with a reason and the line.
#include <gtest/gtest.h>

#include <unistd.h>
#include <filesystem>
#include <fstream>
#include <string>

#include "block_builder.h"
#include "model/capture_file.h"
#include "model/scope_settings.h"
#include "model/waveform.h"
#include "model/waveform_file.h"

using namespace oscilane;
using scopetest::BlockBuilder;
using scopetest::kOneMsPerDivision;
namespace L = zelvo::layout;

namespace {

// CH1 a ramp at 1 V/div, CH2 at 50 mV/div with a blanked stretch, MATH off.
BlockBuilder twoTraces() {
    BlockBuilder b;
    b.u16(L::kTimeBase, kOneMsPerDivision).shownChannel(kCh1, 10, 100000, 0);
    b.shownChannel(kCh2, 6, 5000, 120).channel(kMath, L::channel::kShown, 0);
    for (std::size_t i = 0; i < L::kSamplesPerTrace; ++i) {
        b.sample(kCh1, i, static_cast<int>(i % 256));
        b.sample(kCh2, i, i >= 1000 ? 32767 : static_cast<int>((i * 7) % 256));
    }
    return b;
}

const Capture& read(const CaptureReadResult& r) {
    if (const auto* e = std::get_if<CaptureReadError>(&r)) ADD_FAILURE() << e->text();
    return std::get<Capture>(r);
}

TEST(ReadCapture, EveryLayoutComesBackAndWritesTheSameBytes) {
    const BlockBuilder b = twoTraces();
    const Waveform ch1(b.block, kCh1);
    const Waveform ch2(b.block, kCh2);
    struct Case {
        const char* name;
        std::string text;
        CaptureFormat format;
        std::vector<int> channels;
    };
    const Case cases[] = {
        {"data CH1", WaveformDataText(ch1), CaptureFormat::Data, {kCh1}},
        {"data CH2", WaveformDataText(ch2), CaptureFormat::Data, {kCh2}},
        {"csv", WaveformCsvText(ch2), CaptureFormat::Csv, {kCh1}},
        {"all", AllChannelsCsvText(b.block), CaptureFormat::AllChannelsCsv, {kCh1, kCh2}},
    };
    for (const Case& c : cases) {
        const CaptureReadResult r = ReadCaptureText(c.text);
        ASSERT_TRUE(std::holds_alternative<Capture>(r)) << c.name;
        const Capture& capture = std::get<Capture>(r);
        EXPECT_EQ(capture.format, c.format) << c.name;
        EXPECT_EQ(capture.timeBaseIndex, kOneMsPerDivision) << c.name;
        EXPECT_DOUBLE_EQ(capture.secondsPerDivision, 0.001) << c.name;
        ASSERT_EQ(capture.traces.size(), c.channels.size()) << c.name;
        for (std::size_t t = 0; t < c.channels.size(); ++t)
            EXPECT_EQ(capture.traces[t].channel, c.channels[t]) << c.name;
        EXPECT_EQ(CaptureText(capture), c.text) << c.name << ": save, open, save";
    }
    // The volts are the waveform's, blanked samples none.
    const Capture all = read(ReadCaptureText(AllChannelsCsvText(b.block)));
    for (int i : {0, 5, 999, 1000, 1199}) {
        EXPECT_NEAR(*all.traces[0].volts[static_cast<std::size_t>(i)], ch1.volts(i), 5e-7) << i;
        EXPECT_EQ(all.traces[1].volts[static_cast<std::size_t>(i)].has_value(), i < 1000) << i;
    }
}

TEST(ReadCapture, AClockOutsideTheTableIsKeptAsItStands) {
    BlockBuilder b = twoTraces();
    b.u16(L::kTimeBase, 99);  // no table entry: the writer gives a clock of 0
    const Capture capture = read(ReadCaptureText(WaveformDataText(Waveform(b.block, kCh1))));
    EXPECT_FALSE(capture.timeBaseIndex);
    EXPECT_EQ(capture.secondsPerDivision, 0);
    std::string text = WaveformDataText(Waveform(twoTraces().block, kCh1));
    text.replace(text.find("0.001000000S"), 12, "0.001500000S");
    const Capture odd = read(ReadCaptureText(text));
    EXPECT_FALSE(odd.timeBaseIndex);
    EXPECT_DOUBLE_EQ(odd.secondsPerDivision, 0.0015);
    EXPECT_EQ(CaptureText(odd), text);
}

TEST(ReadCapture, LineFeedsAloneAreTaken) {
    std::string text = WaveformCsvText(Waveform(twoTraces().block, kCh1));
    const std::string crlf = text;
    for (std::size_t at; (at = text.find("\r\n")) != std::string::npos;) text.erase(at, 1);
    EXPECT_EQ(CaptureText(read(ReadCaptureText(text))), crlf);
}

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return text.replace(at, from.size(), to);
}

TEST(ReadCapture, BrokenAndHostileFilesAreRefusedWithTheLine) {
    const BlockBuilder b = twoTraces();
    const std::string data = WaveformDataText(Waveform(b.block, kCh1));
    const std::string csv = WaveformCsvText(Waveform(b.block, kCh1));
    const std::string all = AllChannelsCsvText(b.block);
    std::string longData = data;
    for (int i = 0; i < 20000 - 1205; ++i) longData += "0.000000\r\n";
    std::string crOnly = data;
    for (std::size_t at; (at = crOnly.find("\r\n")) != std::string::npos;) crOnly.erase(at + 1, 1);
    std::string binary = "BM";
    for (int i = 0; i < 300; ++i) binary += static_cast<char>(i * 37);

    struct Case {
        const char* name;
        std::string text;
        int line;
        const char* reasonPart;
    };
    const Case cases[] = {
        {"empty", "", 1, "empty"},
        {"no lines", "\r\n", 1, "not a capture file"},
        {"other text", "hello\r\n", 1, "not a capture file"},
        {"channel off", "CH OFF\r\n\r\n", 1, "off"},
        {"cut mid-line", data.substr(0, data.size() - 5), 1205, "cut short"},
        {"cut short", data.substr(0, data.find("\r\n", 2000) + 2), 0, "cut short"},
        {"header cut", "#CHANNEL:CH1\r\n#CLOCK=0.001000000S\r\n", 3, "cut short"},
        {"letters", replaced(data, "\r\n-8.000000\r\n", "\r\n-8.0O0000\r\n"), 6, "not a number"},
        {"csv letters", replaced(csv, ",-8.000000\r\n", ",abc\r\n"), 2, "not a number"},
        {"huge", replaced(data, "\r\n-8.000000\r\n", "\r\n1e300\r\n"), 6, "too large"},
        {"out of range", replaced(data, "\r\n-8.000000\r\n", "\r\n1e999\r\n"), 6, "too large"},
        {"infinite", replaced(all, ",-8.000000,", ",inf,"), 2, "not a finite number"},
        {"nan in csv", replaced(csv, ",-8.000000\r\n", ",nan\r\n"), 2, "not a finite number"},
        {"20000 lines", longData, 1206, "more than 1200"},
        {"too many rows", csv + "12,1.000000\r\n", 1202, "more than 1200"},
        {"CR only", crOnly, 1, "carriage return"},
        {"binary", binary, 1, "binary"},
        {"NUL", replaced(data, "#SIZE", std::string("#SI\0E", 5)), 3, "binary"},
        {"size", replaced(data, "#SIZE=1200", "#SIZE=12"), 3, "size"},
        {"channel", replaced(data, "#CHANNEL:CH1", "#CHANNEL:CH9"), 1, "not a channel"},
        {"clock", replaced(data, "0.001000000S", "-1S"), 2, "negative"},
        {"clock unit", replaced(data, "0.001000000S", "0.001"), 2, "'S'"},
        {"fields", replaced(all, "\r\n0,-8.000000,", "\r\n0,-8.000000,1,"), 2, "6 fields"},
        {"time back", replaced(csv, "\r\n2e-05,", "\r\n1e-06,"), 4, "back"},
        {"first time", replaced(csv, "\r\n0,", "\r\n1,"), 2, "not 0"},
        {"no values",
         AllChannelsCsvText(
             BlockBuilder().shownChannel(kCh1, 10, 100000, 0).allSamples(kCh1, 32767).block),
         2, "no channel"},
    };
    for (const Case& c : cases) {
        const CaptureReadResult r = ReadCaptureText(c.text);
        ASSERT_TRUE(std::holds_alternative<CaptureReadError>(r)) << c.name;
        const CaptureReadError& e = std::get<CaptureReadError>(r);
        if (c.line != 0) {
            EXPECT_EQ(e.line, c.line) << c.name << ": " << e.text();
        }
        EXPECT_NE(e.reason.find(c.reasonPart), std::string::npos) << c.name << ": " << e.text();
        EXPECT_EQ(e.text().find('\n'), std::string::npos) << c.name;
    }
    EXPECT_EQ((CaptureReadError{7, "x"}.text()), "line 7: x");
}

TEST(ReadCaptureFile, AFileThatCannotBeReadAndOneTooLarge) {
    const auto missing = ReadCaptureFile("/nonexistent/capture.txt");
    ASSERT_TRUE(std::holds_alternative<CaptureReadError>(missing));
    EXPECT_EQ(std::get<CaptureReadError>(missing).text(), "No such file or directory");

    const std::filesystem::path big = std::filesystem::temp_directory_path() /
                                      ("capture-big-" + std::to_string(::getpid()) + ".csv");
    {
        std::ofstream out(big, std::ios::binary);
        out << std::string(kCaptureFileLimit + 10, '0');
    }
    const auto tooLarge = ReadCaptureFile(big);
    std::filesystem::remove(big);
    ASSERT_TRUE(std::holds_alternative<CaptureReadError>(tooLarge));
    EXPECT_NE(std::get<CaptureReadError>(tooLarge).reason.find("larger"), std::string::npos);

    const std::filesystem::path good = std::filesystem::temp_directory_path() /
                                       ("capture-good-" + std::to_string(::getpid()) + ".txt");
    const std::string text = WaveformDataText(Waveform(twoTraces().block, kCh1));
    ASSERT_TRUE(
        SaveWaveformFile(Waveform(twoTraces().block, kCh1), WaveformFileFormat::Data, good).ok());
    const auto back = ReadCaptureFile(good);
    std::filesystem::remove(good);
    EXPECT_EQ(CaptureText(read(back)), text);
}

}  // namespace
