// The symbols a shared library exports, as `nm -D --defined-only` lists them,
// for the tests that hold each library to exactly its interface.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>

namespace testsupport {

// Fails the test when nm cannot list the library.
inline std::set<std::string> exportedSymbols(const std::string& libraryPath) {
    const std::string command = "nm -D --defined-only " + libraryPath;
    std::set<std::string> exported;
    FILE* nm = ::popen(command.c_str(), "r");
    if (!nm) {
        ADD_FAILURE() << "cannot run " << command;
        return exported;
    }
    char line[512];
    while (std::fgets(line, sizeof line, nm)) {
        char type = 0;
        char name[400];
        if (std::sscanf(line, "%*s %c %399s", &type, name) == 2) exported.insert(name);
    }
    EXPECT_EQ(::pclose(nm), 0) << command;
    return exported;
}

// Names each export the library lacks and each one it has beyond `expected`.
inline void expectExactlyExported(const std::string& libraryPath,
                                  const std::set<std::string>& expected) {
    const std::set<std::string> exported = exportedSymbols(libraryPath);
    for (const std::string& name : expected)
        EXPECT_TRUE(exported.count(name)) << "missing " << name;
    for (const std::string& name : exported)
        EXPECT_TRUE(expected.count(name)) << "unexpected export " << name;
}

}  // namespace testsupport
