// The settings the scope's "Setup" pages mirror that the display does not
// read: coarse/fine steps, bandwidth limits, invert, math sources, FFT
// window and the HF rejection of each trigger record; and the pages'
// "VoltDIV" texts.
#pragma once

#include <string>

#include "model/scope_settings.h"

namespace oscilane {

int voltsStep(const SettingBlock& b, int channel);  // 0 coarse, 1 fine
int bandwidthLimit20M(const SettingBlock& b, int channel);
int bandwidth100M(const SettingBlock& b, int channel);
int invert(const SettingBlock& b, int channel);
int mathSource(const SettingBlock& b, int operand);  // operand 0 (A) or 1 (B)
int fftWindow(const SettingBlock& b);
// HF rejection of trigger record 0 (main), 1 and 2 (ALT channels 0 and 1).
int hfReject(const SettingBlock& b, int record);

// MATH's "VoltDIV": the dB step for an FFT in dB ("10dB"), otherwise its
// volts per division with its probe.
std::string mathVoltDivText(const ScopeSettings& s);
// REF's volts per division with its probe.
std::string refVoltDivText(const ScopeSettings& s);

}  // namespace oscilane
