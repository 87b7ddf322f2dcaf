// The measurement library exports exactly its 23 functions, nothing more.
#include <gtest/gtest.h>

#include "exported_symbols.h"

#include <cstdio>
#include <set>
#include <string>

namespace {

const std::set<std::string> kExports = {
    "PreMeas",      "FindPeriod",   "CalVpp",         "CalMaxVolt",     "CalMinVolt",
    "CalAmplitude", "CalTopVolt",   "CalMidVolt",     "CalBaseVolt",    "CalMean",
    "CalRMS",       "CalPreShoot",  "CalOverShoot",   "CalPDutyCycle",  "CalNDutyCycle",
    "CalPeriod",    "CalFrequency", "CalPPulseWidth", "CalNPulseWidth", "CalRiseTime",
    "CalFallTime",  "CalPDelay12",  "CalNDelay12",
};

TEST(ExportList, IsExactlyTheMeasurementInterface) {
    ASSERT_EQ(kExports.size(), 23u);
    testsupport::expectExactlyExported(MENSYL_LIBRARY_PATH, kExports);
}

}  // namespace
