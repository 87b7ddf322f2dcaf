#include "instrument.h"

#include <pybind11/stl.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string_view>

#include "capture.h"
#include "channel_option.h"
#include "errors.h"
#include "meter_log_verb.h"
#include "model/connect_target.h"
#include "model/meter_data.h"
#include "model/meter_display_rules.h"
#include "model/meter_log.h"
#include "model/scope_scales.h"
#include "model/scope_settings.h"
#include "model/scope_setup_file.h"
#include "model/scope_texts.h"
#include "model/waveform_file.h"
#include "setup_verb.h"
#include "verbs.h"
#include "zelvo/scope_tables.h"

namespace zelvo::python {
namespace {

namespace py = pybind11;
using oscilane::ConnectTarget;

constexpr std::size_t kSlots = 16;
constexpr unsigned kDefaultBaud = 9600;

// Which slots of each link kind (USB: which device indices) hold an open
// instrument of this process.
class Slots {
  public:
    // A free slot for the target: any for LAN and serial, the device's own
    // index for USB; none when all are taken.
    std::optional<uint32_t> take(const ConnectTarget& where) {
        std::lock_guard hold(mutex_);
        auto& used = used_[where.link == ZELVO_LINK_USB ? 0 : where.link];
        if (where.link == ZELVO_LINK_USB) {
            if (used[where.number]) return std::nullopt;
            used[where.number] = true;
            return where.number;
        }
        for (uint32_t s = 0; s < kSlots; ++s)
            if (!used[s]) {
                used[s] = true;
                return s;
            }
        return std::nullopt;
    }
    void give(uint32_t link, uint32_t slot) {
        std::lock_guard hold(mutex_);
        used_[link == ZELVO_LINK_USB ? 0 : link][slot] = false;
    }

  private:
    std::mutex mutex_;
    std::array<std::array<bool, kSlots>, 3> used_{};
};

Slots& slots() {
    static Slots all;
    return all;
}

// The text of a setting's value in a table, "?" for a value outside it.
template <std::size_t N>
std::string named(const std::array<const char*, N>& texts, int value) {
    return value >= 0 && static_cast<std::size_t>(value) < N
               ? texts[static_cast<std::size_t>(value)]
               : "?";
}

struct DeviceInfoView {
    std::string name;
    std::string serial;
    std::array<int, 5> ids{};
    py::object date;  // datetime.date, None when the instrument's date is no date
};

struct ChannelView {
    bool on = false;
    double voltsPerDiv = 0;
    std::string coupling;
    int probe = 1;
};

struct TriggerView {
    oscilane::TriggerMode mode = oscilane::TriggerMode::Edge;
    std::string source;
    std::optional<double> level;  // volts; none for EXT
    std::string slope;
    std::string sweep;
};

struct SettingsView {
    double timePerDiv = 0;
    bool running = false;
    TriggerView trigger;
    py::dict channels;
};

struct MeterView {
    double value = 0;
    std::string unit;
    std::optional<double> baseValue;
    oscilane::MeasureMode mode = oscilane::MeasureMode::Voltage;
    bool ac = false;
    bool autoRange = true;
    bool overload = false;
    std::string text;
};

// The volts a trigger level (lever position) of CH1 or CH2 stands for: the
// volts of the sample level it marks, on the channel's scale and lever, as
// the window draws the trigger marker over the trace.  A sample level's volts
// is its distance from the lever's zero level, so the level's volts is how
// far sample 0 lies from the level less how far it lies from the lever.
std::optional<double> triggerLevelVolts(const oscilane::ScopeSettings& s, int channel, int level) {
    const std::optional<double> perDivision =
        oscilane::MillivoltsPerDivision(s.voltsIndex(channel));
    if (!perDivision) return std::nullopt;
    const int probe = oscilane::ProbeFactor(s.probe(channel));
    return (oscilane::CodeMillivolts(0, s.position(channel), *perDivision, probe) -
            oscilane::CodeMillivolts(0, level, *perDivision, probe)) /
           1000;
}

DeviceInfoView info(Instrument& instrument) {
    DeviceInfo raw{};
    if (instrument.request([&](DeviceHandle h) { return KwGetDeviceInfo(h, &raw); }) != 0)
        throw LinkError(cli::kDeviceInfoFailed);
    DeviceInfoView view;
    view.name = std::string(raw.name, strnlen(raw.name, sizeof raw.name));
    view.serial = std::string(raw.serialNumber, strnlen(raw.serialNumber, sizeof raw.serialNumber));
    for (std::size_t i = 0; i < view.ids.size(); ++i) view.ids[i] = raw.identification[i];
    try {
        view.date = py::module_::import("datetime")
                        .attr("date")(raw.date >> 16, (raw.date >> 8) & 0xFF, raw.date & 0xFF);
    } catch (const py::error_already_set&) {
        view.date = py::none();
    }
    return view;
}

SettingsView settings(Instrument& instrument) {
    const auto block = instrument.upload();
    const oscilane::ScopeSettings s(*block);
    namespace text = oscilane::scopetext;
    SettingsView view;
    view.timePerDiv = zelvo::tables::timeBaseSeconds(s.timeBase());
    view.running = s.running();
    view.trigger.mode = static_cast<oscilane::TriggerMode>(s.triggerModeValue());
    view.trigger.source = s.triggerSource() == oscilane::kExtSource
                              ? std::string(text::kStatusExtSource)
                              : named(text::kTriggerSources, s.triggerSource());
    view.trigger.slope = named(text::kSlopes, s.edgeSlope());
    view.trigger.sweep = named(text::kSweeps, s.sweep());
    if (s.triggerSource() == oscilane::kCh1 || s.triggerSource() == oscilane::kCh2)
        view.trigger.level =
            triggerLevelVolts(s, s.triggerSource(), s.triggerLevel(s.triggerSource()));
    for (int c = oscilane::kCh1; c <= oscilane::kRef; ++c) {
        ChannelView channel;
        channel.on = s.shown(c);
        const int probeIndex = s.probe(c) & 3;
        channel.probe = zelvo::tables::kProbeFactor[static_cast<std::size_t>(probeIndex)];
        channel.voltsPerDiv = s.voltsValue10uV(c) * 1e-5 * channel.probe;
        channel.coupling = named(text::kCouplings, s.coupling(c));
        view.channels[py::str(std::string(oscilane::WaveformChannelName(c)))] = channel;
    }
    return view;
}

MeterView meter(Instrument& instrument) {
    const DmmInfo decoded = instrument.readMeter();
    const oscilane::MeterReading reading =
        oscilane::ReadingOf(decoded, oscilane::SystemLocalTime());
    MeterView view;
    view.value = decoded.value;
    view.unit = oscilane::UnitText(decoded.prefixIndex, decoded.unitIndex);
    view.baseValue = oscilane::TrendBaseValue(reading);
    view.mode = static_cast<oscilane::MeasureMode>(decoded.measureMode);
    view.ac = decoded.ac != 0;
    view.autoRange = decoded.manualRange == 0;
    view.overload = decoded.overload != 0;
    view.text = oscilane::LogReadingText(reading);
    return view;
}

// Logs the meter through the client's log loop, which runs without the
// interpreter's lock.  Between readings the loop takes the lock to let Python
// handle signals: Ctrl-C ends the log, after it wrote what it holds, with
// KeyboardInterrupt.  Closing the instrument from another thread ends it the
// same way with "the instrument is closed".
long meterLog(Instrument& instrument, const std::string& path, double interval,
              std::optional<long> count, std::optional<double> duration) {
    const double minimum = cli::kMinimumLogIntervalMs / 1000.0;
    if (!(interval >= minimum - 1e-9)) {
        char text[64];
        std::snprintf(text, sizeof text, "interval must be at least %g seconds", minimum);
        throw cli::UsageError(text);
    }
    if (count && *count <= 0) throw cli::UsageError("count must be a positive number");
    if (duration && !(*duration > 0)) throw cli::UsageError("duration must be a positive number");
    cli::MeterLogOptions options;
    options.file = path;
    options.intervalMs = static_cast<int>(std::lround(std::min(interval, 86400.0) * 1000));
    options.count = count.value_or(0);
    options.seconds = duration.value_or(0);
    if (const auto problem = cli::meterLogProblem(options)) throw Failure(*problem);
    if (instrument.closed()) throw cli::UsageError(kClosedText);

    bool closedMidway = false;
    bool interrupted = false;
    const auto read = [&](DmmInfo* record) {
        try {
            return instrument.onLink([record](DeviceHandle h) { return DMMGetInfo(h, record); });
        } catch (const cli::UsageError&) {
            closedMidway = true;
            return -1;
        }
    };
    const auto stop = [&] {
        if (closedMidway || interrupted) return true;
        py::gil_scoped_acquire locked;
        interrupted = PyErr_CheckSignals() != 0;
        return interrupted;
    };
    cli::MeterLogResult result;
    {
        py::gil_scoped_release unlocked;
        result = cli::logMeter(read, options, stop, false);
    }
    if (interrupted) throw py::error_already_set();
    if (result.failure) {
        if (result.logFailed) throw Failure(*result.failure);
        if (!closedMidway) throw LinkError(*result.failure);
    }
    if (closedMidway) throw cli::UsageError(kClosedText);
    return result.taken;
}

// The selector of the main trigger in the trigger setters.
constexpr int32_t kMainTrigger = 255;

// Sends one setting and waits for the instrument's answer; a refusal (or no
// answer) raises with what was being set.
template <class Send>
void set(Instrument& instrument, const std::string& what, Send&& send) {
    if (instrument.request(std::forward<Send>(send)) != 0)
        throw LinkError("the instrument did not take the " + what);
}

// The position of a name in a table of texts (exact case), or a usage error
// naming the choices.
template <std::size_t N>
int indexOf(const std::array<const char*, N>& texts, const std::string& name,
            const std::string& what) {
    std::string choices;
    for (std::size_t i = 0; i < N; ++i) {
        if (name == texts[i]) return static_cast<int>(i);
        choices += std::string(i == 0 ? "" : i + 1 == N ? " or " : ", ") + texts[i];
    }
    throw cli::UsageError("'" + name + "' is not a " + what + ": " + choices);
}

// CH1 or CH2 (any case); MATH and REF where allowed.
int channelOf(const std::string& name, bool mathToo) {
    const std::optional<int> channel = cli::channelNamed(name);
    if (!channel || (!mathToo && *channel == oscilane::kMath))
        throw cli::UsageError(mathToo ? cli::unknownChannelText(name)
                                      : "'" + name + "' is not CH1 or CH2");
    return *channel;
}

// A value in a 1-2-5 table within a part per million, as its index.
template <class Table>
std::optional<int> stepOf(const Table& values, double wanted) {
    for (std::size_t i = 0; i < values.size(); ++i)
        if (std::abs(values[i] - wanted) <= 1e-6 * std::abs(values[i])) return static_cast<int>(i);
    return std::nullopt;
}

void setTimeBase(Instrument& instrument, double seconds) {
    // The time/div list offers the indices from kTimeListIndexOffset on.
    namespace text = oscilane::scopetext;
    std::array<double, text::kTimePerDivision.size()> steps{};
    for (std::size_t i = 0; i < steps.size(); ++i)
        steps[i] = zelvo::tables::timeBaseSeconds(static_cast<int>(i) + text::kTimeListIndexOffset);
    const std::optional<int> step = stepOf(steps, seconds);
    if (!step)
        throw cli::UsageError(
            "not a time base of the scope (2 ns ... 1000 s per division in "
            "1-2-5 steps): " +
            std::to_string(seconds));
    const int32_t index = *step + text::kTimeListIndexOffset;
    set(instrument, "time base", [index](DeviceHandle h) { return DSOSetTimeBase(h, 0, index); });
}

void setVolts(Instrument& instrument, const std::string& name, double voltsPerDiv) {
    const int channel = channelOf(name, false);
    // The volts table is at the probe tip of a 1X probe: the channel's probe counts.
    const auto block = instrument.upload();
    const int probeIndex = oscilane::ScopeSettings(*block).probe(channel) & 3;
    const double factor = zelvo::tables::kProbeFactor[static_cast<std::size_t>(probeIndex)];
    std::array<double, zelvo::tables::kMillivoltsPerDivision.size()> steps{};
    for (std::size_t i = 0; i < steps.size(); ++i)
        steps[i] = zelvo::tables::kMillivoltsPerDivision[i] / 1000.0 * factor;
    const std::optional<int> step = stepOf(steps, voltsPerDiv);
    if (!step)
        throw cli::UsageError("not a volts/div of " + name +
                              " with its probe: " + std::to_string(voltsPerDiv));
    set(instrument, "volts/div", [&](DeviceHandle h) { return DSOSetVOLTDIV(h, channel, *step); });
}

// Moves the trigger level of CH1 or CH2 (the main trigger's source when none
// is named) to the lever position nearest the volts, as dragging the window's
// trigger marker does; returns the volts of that position.
double setTriggerLevel(Instrument& instrument, double volts, std::optional<std::string> name) {
    const auto block = instrument.upload();
    const oscilane::ScopeSettings s(*block);
    int channel = s.triggerSource();
    if (name)
        channel = channelOf(*name, false);
    else if (channel != oscilane::kCh1 && channel != oscilane::kCh2)
        throw cli::UsageError("the EXT trigger level has no volts scale: name CH1 or CH2");
    const std::string channelName(oscilane::WaveformChannelName(channel));
    const std::optional<double> top = triggerLevelVolts(s, channel, 0);
    const std::optional<double> bottom = triggerLevelVolts(s, channel, oscilane::kLeverMax);
    if (!top || !bottom) throw LinkError("the volts/div of " + channelName + " is not known");
    const double halfStep = (*top - *bottom) / oscilane::kLeverMax / 2;
    if (!(volts >= *bottom - halfStep && volts <= *top + halfStep)) {
        char text[160];
        std::snprintf(text, sizeof text, "a trigger level of %s is within %g ... %g V: %g",
                      channelName.c_str(), *bottom, *top, volts);
        throw cli::UsageError(text);
    }
    int level = 0;
    for (int l = 1; l <= oscilane::kLeverMax; ++l)
        if (std::abs(*triggerLevelVolts(s, channel, l) - volts) <
            std::abs(*triggerLevelVolts(s, channel, level) - volts))
            level = l;
    const auto position = static_cast<uint16_t>(level);
    set(instrument, "trigger level",
        [&](DeviceHandle h) { return DSOSetVTriggerLeverPos(h, channel, position); });
    return *triggerLevelVolts(s, channel, level);
}

void saveSetup(Instrument& instrument, const std::string& path) {
    const auto block = instrument.upload();
    if (const auto unsaved = oscilane::SaveSetupFile(oscilane::ReadSetup(*block), path))
        throw Failure("cannot save " + path + ": " + *unsaved);
}

// The settings that did not take, as 'zelvo setup load' prints them; a file
// that is refused raises before anything is sent.
std::vector<std::string> loadSetup(Instrument& instrument, const std::string& path) {
    const oscilane::SetupParse loaded = oscilane::LoadSetupFile(path);
    if (!loaded.values) throw Failure(path + " is refused: " + loaded.refusal.text());
    const auto recalled = instrument.request(
        [&](DeviceHandle h) { return cli::recallInstrumentSetup(h, *loaded.values); });
    if (!recalled || !recalled->uploaded) throw LinkError(cli::kUploadFailed);
    std::vector<std::string> missed;
    for (const oscilane::SetupMiss& miss : recalled->missed) missed.push_back(miss.text());
    return missed;
}

}  // namespace

Instrument::Instrument(const std::string& name, unsigned baud) : name_(name) {
    const oscilane::ConnectTargetParse parsed = oscilane::ParseConnectTarget(name);
    if (!parsed.target) throw cli::UsageError(parsed.error);
    cli::InstrumentTarget target;
    target.where = *parsed.target;
    const std::optional<uint16_t> baudIndex = oscilane::BaudIndexOfRate(baud);
    if (!baudIndex) throw cli::UsageError(cli::badBaudRateText(std::to_string(baud)));
    if (baud != kDefaultBaud && target.where.link != ZELVO_LINK_SERIAL)
        throw cli::UsageError(cli::kBaudWithoutSerial);
    target.baudIndex = *baudIndex;

    const std::optional<uint32_t> slot = slots().take(target.where);
    if (!slot) throw LinkError(name + " is open already, or every link of its kind is in use");
    std::string failure;
    {
        py::gil_scoped_release unlocked;
        link_ = cli::Instrument::open(target, &failure, *slot);
    }
    if (!link_) {
        slots().give(target.where.link, *slot);
        throw LinkError(failure);
    }
    linkKind_ = target.where.link;
    slot_ = *slot;
}

Instrument::~Instrument() { close(); }

void Instrument::close() {
    py::gil_scoped_release unlocked;
    std::lock_guard hold(mutex_);
    if (!link_) return;
    link_.reset();
    slots().give(linkKind_, slot_);
}

bool Instrument::closed() const {
    std::lock_guard hold(mutex_);
    return !link_;
}

void Instrument::throwClosed() { throw cli::UsageError(kClosedText); }

std::shared_ptr<const oscilane::SettingBlock> Instrument::upload() {
    auto block = std::make_shared<oscilane::SettingBlock>();
    if (request([&](DeviceHandle h) { return DSOUploadSetting(h, block->data()); }) != 0)
        throw LinkError(cli::kUploadFailed);
    return block;
}

DmmInfo Instrument::readMeter() {
    std::optional<DmmInfo> read = request([this](DeviceHandle h) -> std::optional<DmmInfo> {
        DmmInfo decoded = meterRecord_;
        if (DMMGetInfo(h, &decoded) != 0) return std::nullopt;
        meterRecord_ = decoded;
        return decoded;
    });
    if (!read) throw LinkError(cli::kNoMeterReading);
    return *read;
}

void addInstrument(py::module_& module) {
    py::enum_<oscilane::TriggerMode>(module, "TriggerMode", "The scope's trigger mode.")
        .value("EDGE", oscilane::TriggerMode::Edge)
        .value("PULSE", oscilane::TriggerMode::Pulse)
        .value("ALT", oscilane::TriggerMode::Alt);
    py::enum_<oscilane::MeasureMode>(module, "MeterMode", "What the meter measures.")
        .value("VOLTAGE", oscilane::MeasureMode::Voltage)
        .value("CURRENT", oscilane::MeasureMode::Current)
        .value("RESISTANCE", oscilane::MeasureMode::Resistance)
        .value("DIODE", oscilane::MeasureMode::Diode)
        .value("CONTINUITY", oscilane::MeasureMode::Continuity)
        .value("CAPACITANCE", oscilane::MeasureMode::Capacitance);

    py::class_<DeviceInfoView>(module, "DeviceInfo", "What the instrument reports about itself.")
        .def_readonly("name", &DeviceInfoView::name)
        .def_readonly("serial", &DeviceInfoView::serial)
        .def_readonly("ids", &DeviceInfoView::ids, "The five identification words.")
        .def_readonly("date", &DeviceInfoView::date, "Build date (datetime.date).")
        .def("__repr__", [](const DeviceInfoView& d) {
            return "<zelvo.DeviceInfo " + d.name + " " + d.serial + ">";
        });
    py::class_<ChannelView>(module, "ChannelSettings", "One channel record of the scope.")
        .def_readonly("on", &ChannelView::on)
        .def_readonly("volts_per_div", &ChannelView::voltsPerDiv, "Volts, probe included.")
        .def_readonly("coupling", &ChannelView::coupling, "AC, DC or GND.")
        .def_readonly("probe", &ChannelView::probe, "Probe factor: 1, 10, 100 or 1000.");
    py::class_<TriggerView>(module, "TriggerSettings", "The main trigger.")
        .def_readonly("mode", &TriggerView::mode)
        .def_readonly("source", &TriggerView::source, "CH1, CH2 or EXT.")
        .def_readonly("slope", &TriggerView::slope, "+ or -.")
        .def_readonly("sweep", &TriggerView::sweep, "AUTO, NORMAL or SINGLE.")
        .def_readonly("level", &TriggerView::level,
                      "Volts of the source's trigger level; None for EXT.");
    py::class_<SettingsView>(module, "ScopeSettings", "The scope state of one upload.")
        .def_readonly("time_per_div", &SettingsView::timePerDiv, "Seconds per division.")
        .def_readonly("running", &SettingsView::running)
        .def_readonly("trigger", &SettingsView::trigger)
        .def_readonly("channels", &SettingsView::channels,
                      "ChannelSettings by CH1, CH2, MATH and REF.");
    py::class_<MeterView>(module, "MeterReading", "One meter reading.")
        .def_readonly("value", &MeterView::value, "The number as the meter shows it.")
        .def_readonly("unit", &MeterView::unit, "Prefix and unit of value, e.g. 'mV' or 'KR'.")
        .def_readonly("base_value", &MeterView::baseValue,
                      "The value in V, A, Ohm or F; None for an overload.")
        .def_readonly("mode", &MeterView::mode)
        .def_readonly("ac", &MeterView::ac)
        .def_readonly("auto_range", &MeterView::autoRange)
        .def_readonly("overload", &MeterView::overload)
        .def_readonly("text", &MeterView::text, "The reading as its log line writes it.")
        .def("__repr__", [](const MeterView& m) { return "<zelvo.MeterReading " + m.text + ">"; });

    py::class_<Instrument>(module, "Instrument",
                           "An open instrument; use zelvo.open() to get one.  Usable in a "
                           "with statement, which closes it.")
        .def_property_readonly("name", &Instrument::name, "The name it was opened by.")
        .def_property_readonly("closed", &Instrument::closed)
        .def("close", &Instrument::close, "Closes the link; closing again does nothing.")
        .def(
            "__enter__", [](Instrument& i) -> Instrument& { return i; },
            py::return_value_policy::reference)
        .def("__exit__", [](Instrument& i, py::args) { i.close(); })
        .def("info", &info, "Name, serial number, ids and build date.")
        .def("settings", &settings, "The scope state (one upload).")
        .def(
            "capture", [](Instrument& i) { return std::make_shared<Capture>(i.upload()); },
            "One upload of the scope state with its four traces.")
        .def("meter", &meter, "One meter reading.")
        .def("save_setup", &saveSetup, py::arg("path"),
             "Writes the scope settings of one upload as the setup file 'zelvo setup save' "
             "writes.")
        .def("load_setup", &loadSetup, py::arg("path"),
             "Recalls a setup file as 'zelvo setup load' does: one setting command per "
             "setting that differs, then one upload.  Returns the settings that did not take "
             "(empty when all did); a refused file raises zelvo.Error before anything is sent.")
        .def("meter_log", &meterLog, py::arg("path"), py::arg("interval") = 0.2,
             py::arg("count") = py::none(), py::arg("duration") = py::none(),
             "Appends a meter reading every interval seconds (at least 0.1) to path as one "
             "log line, the lines zelvo meter --log writes, until count readings or duration "
             "seconds or Ctrl-C; everything read is written before it returns or raises.  "
             "Returns the number of readings logged.")
        .def(
            "run",
            [](Instrument& i) {
                set(i, "run command", [](DeviceHandle h) { return DSOSetStatus(h, 0); });
            },
            "Starts acquisition.")
        .def(
            "stop",
            [](Instrument& i) {
                set(i, "stop command", [](DeviceHandle h) { return DSOSetStatus(h, 1); });
            },
            "Stops acquisition: captures then keep the last traces.")
        .def(
            "autoset",
            [](Instrument& i) {
                set(i, "auto setup", [](DeviceHandle h) { return DSOAutoSetup(h); });
            },
            "Runs the scope's auto setup.")
        .def("set_time_base", &setTimeBase, py::arg("seconds_per_div"),
             "Seconds per division: 2e-9 ... 1000 in 1-2-5 steps.")
        .def("set_volts", &setVolts, py::arg("channel"), py::arg("volts_per_div"),
             "Volts per division of CH1 or CH2, probe included (0.5 mV ... 10 V at 1X).")
        .def(
            "set_channel",
            [](Instrument& i, const std::string& name, bool on) {
                const int channel = channelOf(name, true);
                set(i, "channel switch",
                    [&](DeviceHandle h) { return DSOSetCHEnable(h, channel, on ? 1 : 0); });
            },
            py::arg("channel"), py::arg("on"), "Shows or hides CH1, CH2 or MATH.")
        .def(
            "set_coupling",
            [](Instrument& i, const std::string& name, const std::string& coupling) {
                const int channel = channelOf(name, false);
                const int value = indexOf(oscilane::scopetext::kCouplings, coupling, "coupling");
                set(i, "coupling",
                    [&](DeviceHandle h) { return DSOSetCoupling(h, channel, value); });
            },
            py::arg("channel"), py::arg("coupling"), "AC, DC or GND for CH1 or CH2.")
        .def(
            "set_probe",
            [](Instrument& i, const std::string& name, int factor) {
                const int channel = channelOf(name, true);
                const auto& factors = zelvo::tables::kProbeFactor;
                const auto found = std::find(factors.begin(), factors.end(), factor);
                if (found == factors.end())
                    throw cli::UsageError("not a probe factor of 1, 10, 100 or 1000: " +
                                          std::to_string(factor));
                const auto index = static_cast<int32_t>(found - factors.begin());
                set(i, "probe", [&](DeviceHandle h) { return DSOSetProbe(h, channel, index); });
            },
            py::arg("channel"), py::arg("factor"), "Probe factor 1, 10, 100 or 1000.")
        .def(
            "set_trigger_mode",
            [](Instrument& i, oscilane::TriggerMode mode) {
                const auto value = static_cast<uint8_t>(mode);
                set(i, "trigger mode", [&](DeviceHandle h) { return DSOSetTriggerMode(h, value); });
            },
            py::arg("mode"))
        .def(
            "set_trigger_source",
            [](Instrument& i, const std::string& source) {
                const auto value =
                    static_cast<uint8_t>(source == oscilane::scopetext::kStatusExtSource
                                             ? oscilane::kExtSource
                                             : indexOf(oscilane::scopetext::kTriggerSources, source,
                                                       "trigger source (or EXT)"));
                set(i, "trigger source",
                    [&](DeviceHandle h) { return DSOSetTriggerSource(h, value); });
            },
            py::arg("source"), "CH1, CH2 or EXT.")
        .def("set_trigger_level", &setTriggerLevel, py::arg("volts"),
             py::arg("channel") = py::none(),
             "Moves the trigger level of CH1 or CH2 (default: the trigger source) to the "
             "step nearest the volts, probe included; returns the volts of that step.")
        .def(
            "set_trigger_slope",
            [](Instrument& i, const std::string& slope) {
                const int value = indexOf(oscilane::scopetext::kSlopes, slope, "slope");
                set(i, "trigger slope",
                    [&](DeviceHandle h) { return DSOSetTriggerSlope(h, kMainTrigger, value); });
            },
            py::arg("slope"), "+ or -.")
        .def(
            "set_trigger_sweep",
            [](Instrument& i, const std::string& sweep) {
                const auto value =
                    static_cast<uint8_t>(indexOf(oscilane::scopetext::kSweeps, sweep, "sweep"));
                set(i, "trigger sweep",
                    [&](DeviceHandle h) { return DSOSetTriggerSweep(h, value); });
            },
            py::arg("sweep"), "AUTO, NORMAL or SINGLE.")
        .def(
            "set_meter_mode",
            [](Instrument& i, oscilane::MeasureMode mode) {
                const auto value = static_cast<uint8_t>(mode);
                set(i, "meter mode", [&](DeviceHandle h) { return DMMSetMeasureMode(h, value); });
            },
            py::arg("mode"), "What the meter measures.");

    module.def(
        "open",
        [](const std::string& name, unsigned baud) {
            return std::make_unique<Instrument>(name, baud);
        },
        py::arg("name"), py::arg("baud") = kDefaultBaud,
        "Opens the instrument named as --connect takes it: lan:ADDRESS, usb:N or serial:N "
        "(baud 300 ... 9600 for a serial line).");
}

}  // namespace zelvo::python
