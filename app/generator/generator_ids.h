// Command ids of the generator window's tool bar and menus.
#pragma once

#include <array>

#include "model/generator_wave.h"

namespace oscilane::gencmd {

inline constexpr int kSave = 32794;  // "Save DDS data"
inline constexpr int kGrid = 32805;  // shows or hides the grid
inline constexpr int kBestFit = 32806;
inline constexpr int kZoomIn = 32825;  // "Arb wave zoom in"
inline constexpr int kZoomOut = 32826;
inline constexpr int kOpenCsv = 32827;  // "Open DDS CSV File"

// The wave-type commands and the type each chooses.
struct TypeCommand {
    int id;
    WaveType type;
};
inline constexpr std::array<TypeCommand, 11> kTypeCommands{{
    {32795, WaveType::Sine},
    {32796, WaveType::Ramp},
    {32797, WaveType::Square},
    {32798, WaveType::Trapezia},
    {32799, WaveType::Dc},
    {32800, WaveType::Exponent},
    {32801, WaveType::AmFm},
    {32802, WaveType::Zero},
    {32803, WaveType::NoiseGauss},
    {32804, WaveType::NoiseWhite},
    {32807, WaveType::Arbitrary},
}};

}  // namespace oscilane::gencmd
