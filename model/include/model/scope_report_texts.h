// The text lines of the scope's printed test report, from a setting block and
// the local date and time.  The report page draws them; tests read them here.
#pragma once

#include <string>

#include "model/scope_settings.h"

namespace oscilane {

struct ReportDateTime {
    int year, month, day, hour, minute, second;
};

// "Data = 07-03-2009     Time = 14:05:09".
std::string ReportDateLine(const ReportDateTime& when);

// "Sampling Rate = <rate>"; in ALT trigger mode "Sampling Rate: CH1 = <rate>"
// for a shown CH1 and "     CH2 = <rate>" for a shown CH2, so with CH1 off
// the line begins "     CH2 = ".
std::string ReportSamplingRateLine(const ScopeSettings& s);

// "Time/DIV = <entry>/div"; in ALT trigger mode "Time/DIV: CH1 = <entry>" for
// a shown CH1 and "     CH2 = <entry>" for a shown CH2, then "/div".  A time
// base the Time/DIV list lacks gives an empty entry.
std::string ReportTimePerDivisionLine(const ScopeSettings& s);

// "CH1:  VOLT DIV = 500mV/div" for trace 0..3 (CH1, CH2, MATH, REF).
std::string ReportVoltLine(const ScopeSettings& s, int channel);

// "Input Coupling = DC" for CH1 or CH2; an unknown coupling gives no text after "= ".
std::string ReportCouplingLine(const ScopeSettings& s, int channel);

// "Operate: CH1 + CH2": the math sources and operator (" + ", " - ", " X ",
// " / "; any other operator " + "); for FFT "Operate: FFT CH1" with the FFT's
// source.
std::string ReportMathLine(const SettingBlock& block);

}  // namespace oscilane
