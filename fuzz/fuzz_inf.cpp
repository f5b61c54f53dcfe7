// cabwiz's reading of an installation description and of the plan in it.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "tools/cabwiz/InfDocument.h"
#include "tools/cabwiz/InstallPlanReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace skedlin::cabwiz;
    InfDocument inf;
    if (!InfDocument::parse(std::string_view(reinterpret_cast<const char*>(data), size), "fuzz.inf", inf).ok())
        return 0;
    InstallPlan plan;
    (void)readInstallPlan(inf, "arm", "/nonexistent-skedlin-fuzz", plan);  // a refusal is an outcome like any other
    return 0;
}
