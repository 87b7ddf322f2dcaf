// zelvo.generator: the generator's waveform designs and their CSV files,
// made by the same design rules and writer as 'zelvo gen'.
#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl/filesystem.h>

#include <optional>
#include <string>
#include <vector>

#include "errors.h"
#include "gen_verb.h"
#include "model/generator_csv.h"
#include "modules.h"
#include "verbs.h"

namespace zelvo::python {
namespace {

namespace py = pybind11;
using oscilane::GeneratorWave;

// "--rise-duty" is the keyword rise_duty.
std::string keywordOf(const char* option) {
    std::string name(option + 2);
    for (char& c : name)
        if (c == '-') c = '_';
    return name;
}

std::string shapeName(const GeneratorWave& wave) {
    for (const cli::GenShape& s : cli::genShapes())
        if (s.type == wave.waveType) return s.name;
    return std::string(oscilane::WaveTypeName(wave.waveType));
}

GeneratorWave design(const std::string& shape, bool fm, const py::kwargs& settings) {
    const auto numbers = cli::genNumbers();
    std::vector<std::optional<double>> values(numbers.size());
    for (const auto& [key, value] : settings) {
        const std::string name = py::str(key);
        std::size_t i = 0;
        while (i < numbers.size() && keywordOf(numbers[i].name) != name) ++i;
        if (i == numbers.size()) throw cli::UsageError("wave() has no setting '" + name + "'");
        values[i] = value.cast<double>();
    }
    GeneratorWave wave = cli::designWave(shape, values, fm);
    oscilane::Synthesize(wave);
    return wave;
}

py::array_t<double> samplesOf(const GeneratorWave& wave) {
    py::array_t<double> samples(wave.sampleCount);
    auto out = samples.mutable_unchecked<1>();
    for (py::ssize_t i = 0; i < wave.sampleCount; ++i)
        out(i) = wave.samples[static_cast<std::size_t>(i)];
    return samples;
}

void saveCsv(GeneratorWave& wave, const std::filesystem::path& path) {
    oscilane::CsvResult result;
    {
        py::gil_scoped_release unlocked;
        result = oscilane::SaveCsv(wave, path);
    }
    if (!result.ok()) throw Failure(result.message());
}

GeneratorWave loadCsv(const std::filesystem::path& path) {
    GeneratorWave wave;
    oscilane::CsvResult result;
    {
        py::gil_scoped_release unlocked;
        result = oscilane::LoadCsv(wave, path);
    }
    if (!result.ok()) throw Failure(result.message());
    return wave;
}

std::string waveDoc() {
    std::string doc =
        "wave(shape='sine', fm=False, **settings) -> Wave\n\n"
        "Designs a generator waveform as 'zelvo gen' does; values out of range are limited as "
        "the generator window limits them.  Shapes:";
    for (const cli::GenShape& s : cli::genShapes()) doc += std::string(" ") + s.name;
    doc += ".\nSettings:\n";
    for (const cli::GenNumber& n : cli::genNumbers())
        doc += "  " + keywordOf(n.name) + ": " + n.help + "\n";
    return doc;
}

}  // namespace

void addGenerator(py::module_& parent) {
    py::module_ module = parent.def_submodule(
        "generator", "The generator's waveform designs and their CSV files, as 'zelvo gen'.");
    py::class_<GeneratorWave>(module, "Wave", "A generator waveform and its samples.")
        .def_property_readonly("samples", &samplesOf, "The samples in volts (float64 array).")
        .def("__len__", [](const GeneratorWave& w) { return w.sampleCount; })
        .def_property_readonly("shape", &shapeName)
        .def_readonly("frequency", &GeneratorWave::frequency, "Hz.")
        .def_readonly("amplitude", &GeneratorWave::amplitude, "Volts.")
        .def_readonly("offset", &GeneratorWave::offset, "Volts.")
        .def_readonly("phase", &GeneratorWave::phase, "Start phase, fraction of a period.")
        .def_property_readonly("fm", [](const GeneratorWave& w) { return w.fmFlag != 0; })
        .def("save_csv", &saveCsv, py::arg("path"), "Writes the CSV file 'zelvo gen' writes.")
        .def("__repr__", [](const GeneratorWave& w) {
            return "<zelvo.generator.Wave " + shapeName(w) + ", " + std::to_string(w.sampleCount) +
                   " samples>";
        });
    module.def("wave", &design, py::arg("shape") = "sine", py::kw_only(), py::arg("fm") = false,
               waveDoc().c_str());
    module.def("load_csv", &loadCsv, py::arg("path"),
               "Reads a generator CSV file into an 'Arb' Wave.");
}

}  // namespace zelvo::python
