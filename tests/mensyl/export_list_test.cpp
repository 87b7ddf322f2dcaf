// The measurement library exports exactly its 23 functions, nothing more.
#include <gtest/gtest.h>

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
    const std::string command = std::string("nm -D --defined-only ") + MENSYL_LIBRARY_PATH;
    FILE* nm = ::popen(command.c_str(), "r");
    ASSERT_NE(nm, nullptr);
    std::set<std::string> exported;
    char line[512];
    while (std::fgets(line, sizeof line, nm)) {
        char type = 0;
        char name[400];
        if (std::sscanf(line, "%*s %c %399s", &type, name) == 2) exported.insert(name);
    }
    ASSERT_EQ(::pclose(nm), 0) << command;
    for (const std::string& name : kExports)
        EXPECT_TRUE(exported.count(name)) << "missing " << name;
    for (const std::string& name : exported)
        EXPECT_TRUE(kExports.count(name)) << "unexpected export " << name;
}

}  // namespace
