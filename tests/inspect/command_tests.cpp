// SkedlinTool inspect on the command line: the report on standard output,
// messages on standard error, and the documented exit statuses.

#include <gtest/gtest.h>

#include "inspect_test_support.h"

namespace skedlin::inspecttest {
namespace {

struct ToolRun {
    int status;
    std::string out;
    std::string err;
};

ToolRun inspectCommand(const std::string& arguments) {
    const std::string out = scratchFolder() + "/tool.out";
    const std::string err = scratchFolder() + "/tool.err";
    const int status = run(shellQuoted(bin("SkedlinTool")) + " inspect " + arguments + " >" + shellQuoted(out) + " 2>" +
                           shellQuoted(err));
    return {status, fileText(out), fileText(err)};
}

TEST(InspectCommand, ExitStatusesAndWhereTheTextGoes) {
    const ToolRun ok = inspectCommand(shellQuoted(exampleOutputs().prc));
    EXPECT_EQ(ok.status, 0);
    EXPECT_NE(ok.out.find("Title: Mobile Data Conference 2026\n"), std::string::npos);
    EXPECT_EQ(ok.err, "");

    const ToolRun json = inspectCommand("--json " + shellQuoted(exampleOutputs().cab));
    EXPECT_EQ(json.status, 0);
    EXPECT_EQ(json.out.substr(0, 2), "{\n");

    const ToolRun missing = inspectCommand(shellQuoted(scratchFolder() + "/none.prc"));
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("none.prc: "), std::string::npos);

    const std::string xml = std::string(SKEDLIN_SOURCE_DIR) + "/examples/conference/Conference.xml";
    const ToolRun foreign = inspectCommand(shellQuoted(xml));
    EXPECT_EQ(foreign.status, 3);
    EXPECT_NE(foreign.err.find("neither a Palm OS resource database"), std::string::npos);

    auto damaged = fileBytes(exampleOutputs().prc);
    damaged.resize(damaged.size() - 3);
    const std::string cut = scratchFolder() + "/cut.prc";
    {
        std::ofstream file(cut, std::ios::binary);
        file.write(reinterpret_cast<const char*>(damaged.data()), static_cast<std::streamsize>(damaged.size()));
    }
    const ToolRun broken = inspectCommand(shellQuoted(cut));
    EXPECT_EQ(broken.status, 4);
    EXPECT_NE(broken.out.find("Problems (1):\n  - wrdl 4004 holds"), std::string::npos) << broken.out;
    EXPECT_NE(broken.err.find("the package is damaged"), std::string::npos);

    EXPECT_EQ(inspectCommand("").status, 64);
    EXPECT_EQ(inspectCommand("--xml " + shellQuoted(cut)).status, 64);
}

}  // namespace
}  // namespace skedlin::inspecttest
