// The settings the scope's "Setup" pages mirror that the display does not
// read: coarse/fine steps, bandwidth limits, invert, math sources, FFT
// window and the HF rejection of each trigger record; and the pages'
// "VoltDIV" texts.
#pragma once

#include <string>

#include "model/scope_settings.h"

namespace oscilane {

int VoltsStep(const SettingBlock& b, int channel);  // 0 coarse, 1 fine
int BandwidthLimit20M(const SettingBlock& b, int channel);
int Bandwidth100M(const SettingBlock& b, int channel);
int Invert(const SettingBlock& b, int channel);
int MathSource(const SettingBlock& b, int operand);  // operand 0 (A) or 1 (B)
int FftWindow(const SettingBlock& b);
// HF rejection of trigger record 0 (main), 1 and 2 (ALT channels 0 and 1).
int HfReject(const SettingBlock& b, int record);

// MATH's "VoltDIV": the dB step for an FFT in dB ("10dB"), otherwise its
// volts per division with its probe.
std::string MathVoltDivText(const ScopeSettings& s);
// REF's volts per division with its probe.
std::string RefVoltDivText(const ScopeSettings& s);

}  // namespace oscilane
