#include "capture.h"

#include <pybind11/stl.h>
#include <pybind11/stl/filesystem.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <limits>
#include <string>

#include "capture_verb.h"
#include "channel_option.h"
#include "errors.h"
#include "model/measure_set.h"
#include "model/waveform.h"
#include "model/waveform_file.h"
#include "verbs.h"

namespace zelvo::python {
namespace {

namespace py = pybind11;
using oscilane::Waveform;

constexpr int kTraceCount = 4;

// The trace a capture's key names: CH1, CH2, MATH or REF in any case.
std::optional<int> traceNamed(const std::string& name) {
    for (int c = 0; c < kTraceCount; ++c) {
        const std::string_view known = oscilane::WaveformChannelName(c);
        if (name.size() == known.size() &&
            std::equal(name.begin(), name.end(), known.begin(),
                       [](char a, char b) { return std::toupper(a) == b; }))
            return c;
    }
    return std::nullopt;
}

py::dict measure(const Trace& trace) {
    if (trace.channel >= oscilane::kMeasureChannelCount)
        throw cli::UsageError("REF has no automatic measurements: measure CH1, CH2 or MATH");
    std::array<oscilane::MeasureResult, oscilane::kMeasureKindCount> results;
    {
        py::gil_scoped_release unlocked;
        results = oscilane::measureChannel(*trace.block, trace.channel);
    }
    py::dict values;
    for (int k = 0; k < oscilane::kMeasureKindCount; ++k) {
        const auto& value = results[static_cast<std::size_t>(k)].value;
        values[oscilane::kindText(static_cast<oscilane::MeasureKind>(k)).csvName] =
            value ? py::object(py::float_(*value)) : py::object(py::none());
    }
    return values;
}

void save(const Capture& capture, const std::filesystem::path& path, const std::string& channel,
          const std::string& format) {
    const std::optional<int> trace = cli::channelNamed(channel);
    if (!trace) throw cli::UsageError(cli::unknownChannelText(channel));
    const std::optional<oscilane::WaveformFileFormat> layout = cli::captureFormatNamed(format);
    if (!layout)
        throw cli::UsageError("'" + format + "' is not a format: the formats are txt and csv");
    std::optional<std::string> failure;
    {
        py::gil_scoped_release unlocked;
        failure = cli::saveTrace(*capture.block, *trace, *layout, path.string());
    }
    if (failure) throw Failure(*failure);
}

}  // namespace

Trace::Trace(SharedBlock shared, int c)
    : block(std::move(shared)), channel(c), volts(Waveform::kSamples), times(Waveform::kSamples) {
    const Waveform wave(*block, channel);
    on = wave.shown();
    interval = wave.sampleInterval();
    probe = wave.probeFactor();
    if (const auto mv = wave.millivoltsPerDivision()) voltsPerDiv = *mv / 1000.0 * probe;
    auto v = volts.mutable_unchecked<1>();
    auto t = times.mutable_unchecked<1>();
    for (int i = 0; i < Waveform::kSamples; ++i) {
        v(i) = wave.blank(i) ? std::numeric_limits<double>::quiet_NaN() : wave.volts(i);
        t(i) = i * interval.value_or(0.0);
    }
}

Capture::Capture(SharedBlock shared) : block(std::move(shared)) {
    for (int c = 0; c < kTraceCount; ++c)
        traces[static_cast<std::size_t>(c)] = std::make_shared<Trace>(block, c);
}

void addCapture(py::module_& module) {
    py::class_<Trace, std::shared_ptr<Trace>>(
        module, "Waveform", "One trace of a capture: 1200 samples in volts at the probe tip.")
        .def_property_readonly(
            "channel",
            [](const Trace& t) { return std::string(oscilane::WaveformChannelName(t.channel)); },
            "CH1, CH2, MATH or REF.")
        .def_readonly("on", &Trace::on, "Whether the instrument shows the trace.")
        .def_readonly("volts", &Trace::volts,
                      "float64 array of 1200 volts; nan where the instrument blanked a sample.")
        .def_readonly("times", &Trace::times, "float64 array of seconds from the first sample.")
        .def_readonly("interval", &Trace::interval,
                      "Seconds between samples (None for a time base outside the table).")
        .def_readonly("volts_per_div", &Trace::voltsPerDiv, "Volts per division, probe included.")
        .def_readonly("probe", &Trace::probe, "Probe factor: 1, 10, 100 or 1000.")
        .def("measure", &measure,
             "The 22 automatic measurements by the names 'zelvo measure --csv' prints, in "
             "volts, seconds, hertz or plain ratios; None where the window shows *****.")
        .def("__len__", [](const Trace&) { return Waveform::kSamples; })
        .def("__repr__", [](const Trace& t) {
            return "<zelvo.Waveform " + std::string(oscilane::WaveformChannelName(t.channel)) +
                   (t.on ? " on>" : " off>");
        });

    py::class_<Capture, std::shared_ptr<Capture>>(
        module, "Capture", "One upload of the scope state: the traces CH1, CH2, MATH and REF.")
        .def(
            "__getitem__",
            [](const Capture& c, const std::string& name) {
                const std::optional<int> trace = traceNamed(name);
                if (!trace)
                    throw py::key_error("'" + name +
                                        "' is not a trace: the traces are "
                                        "CH1, CH2, MATH and REF");
                return c.traces[static_cast<std::size_t>(*trace)];
            },
            py::arg("channel"))
        .def("keys",
             [](const Capture&) {
                 py::list names;
                 for (int c = 0; c < kTraceCount; ++c)
                     names.append(std::string(oscilane::WaveformChannelName(c)));
                 return names;
             })
        .def("__len__", [](const Capture&) { return kTraceCount; })
        .def("save", &save, py::arg("path"), py::arg("channel") = "CH1",
             py::arg("format") = cli::kDefaultCaptureFormat,
             "Writes one trace as 'zelvo capture' does: format 'txt' (the scope window's data "
             "file, also the default whatever the file's name) or 'csv' (time_s,volts).");
}

}  // namespace zelvo::python
