// A shared library exports exactly the names of its export list:
// export_list_tests LIBRARY LIST.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>
#include <string>

#include "exported_symbols.h"

namespace {

std::string gLibrary;
std::string gList;

// The names of an export list: one per line, "@N" decoration and '#'
// comments left out.
std::set<std::string> readExportList(const std::string& path) {
    std::ifstream in(path);
    EXPECT_TRUE(in) << "cannot read " << path;
    std::set<std::string> names;
    const std::regex entry(R"(^\s*([A-Za-z_]\w*)(@\d+)?\s*(#.*)?$)");
    const std::regex blank(R"(^\s*(#.*)?$)");
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        std::smatch m;
        if (std::regex_match(line, m, entry))
            EXPECT_TRUE(names.insert(m[1]).second) << path << ":" << number << " twice: " << m[1];
        else
            EXPECT_TRUE(std::regex_match(line, blank)) << path << ":" << number << ": " << line;
    }
    return names;
}

TEST(ExportList, IsExactlyWhatTheLibraryExports) {
    const std::set<std::string> listed = readExportList(gList);
    ASSERT_FALSE(listed.empty()) << gList;
    testsupport::expectExactlyExported(gLibrary, listed);
}

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: export_list_tests LIBRARY LIST\n");
        return 2;
    }
    gLibrary = argv[1];
    gList = argv[2];
    return RUN_ALL_TESTS();
}
