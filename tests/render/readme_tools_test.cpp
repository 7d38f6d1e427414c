// Every tool the README names runs where the README says it is (build/ standing for this build's
// folder) and answers --help with its usage.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

namespace quenvale {
namespace {

#if defined(QUENVALE_TOOLS_BUILT)

TEST(ReadmeTools, EveryNamedToolRunsFromItsReadmePathWithHelp) {
    std::ifstream readme(QUENVALE_SOURCE_DIR "/README.md");
    ASSERT_TRUE(readme.good());
    std::stringstream text;
    text << readme.rdbuf();
    const std::string content = text.str();
    std::set<std::string> tools;
    const std::regex named(R"(build/(tools/[A-Za-z0-9_.\-/]+))");
    for (auto it = std::sregex_iterator(content.begin(), content.end(), named); it != std::sregex_iterator(); ++it)
        tools.insert((*it)[1].str());
    // The two musicians' tools at least; every other tool the README names is held to the same rule.
    EXPECT_TRUE(tools.count("tools/quenvale-render") == 1 && tools.count("tools/quenvale-resynth") == 1);
    for (const std::string& tool : tools) {
        const std::string path = std::string(QUENVALE_BINARY_DIR) + "/" + tool;
        ASSERT_TRUE(std::filesystem::exists(path)) << "README names build/" << tool;
        FILE* pipe = ::popen((path + " --help 2>&1").c_str(), "r");
        ASSERT_NE(pipe, nullptr);
        std::string output;
        char buffer[512];
        while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) output += buffer;
        const int status = ::pclose(pipe);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << tool << "\n" << output;
        std::transform(output.begin(), output.end(), output.begin(), [](unsigned char c) { return std::tolower(c); });
        EXPECT_NE(output.find("usage"), std::string::npos) << tool << "\n" << output;
    }
}

#endif

}  // namespace
}  // namespace quenvale
