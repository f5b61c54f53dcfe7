#include "tools/cabwiz/InstallerCabinet.h"

#include <unistd.h>
#include <vector>

#include "tools/cabwiz/CabinetNames.h"
#include "tools/cabwiz/CabinetWriter.h"
#include "tools/cabwiz/InfDocument.h"
#include "tools/cabwiz/InstallPlanReader.h"
#include "tools/cabwiz/PendingFile.h"
#include "tools/cabwiz/SetupFileWriter.h"

namespace skedlin::cabwiz {
namespace {

constexpr const char* kCabinetExtension = ".cab";
constexpr const char* kSideFileExtension = ".dat";

std::size_t nameStart(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? 0 : slash + 1;
}

// The path without the extension of its last component.
std::string withoutExtension(const std::string& path) {
    const std::size_t dot = path.rfind('.');
    return dot == std::string::npos || dot <= nameStart(path) ? path : path.substr(0, dot);
}

std::string folderOf(const std::string& path) {
    const std::size_t start = nameStart(path);
    if (start == 0) return ".";
    if (start == 1) return "/";
    return path.substr(0, start - 1);
}

}  // namespace

CabinetOutputs outputsFor(const std::string& infPath, const std::string& cpu) {
    std::string base = withoutExtension(infPath);
    if (!cpu.empty()) base += "." + cpu;
    return {base + kCabinetExtension, base + kSideFileExtension};
}

CabwizResult makeInstallerCabinet(const std::string& infPath, const std::string& cpu) {
    InfDocument inf;
    CabwizResult status = InfDocument::load(infPath, inf);
    if (!status.ok()) return status;

    InstallPlan plan;
    status = readInstallPlan(inf, cpu, folderOf(infPath), plan);
    if (!status.ok()) return status;

    std::vector<std::uint8_t> setupFile;
    status = buildSetupFile(plan, setupFile);
    if (!status.ok()) return CabwizResult(status.code(), infPath + ": " + status.message());

    const std::string base = withoutExtension(infPath);
    std::vector<CabinetMember> members;
    members.push_back({setupMemberName(base.substr(nameStart(base))), &setupFile});
    for (const auto& file : plan.files) members.push_back({file.cabinetName, &file.bytes});
    std::vector<std::uint8_t> cabinet;
    status = packCabinet(members, cabinet);
    if (!status.ok()) return CabwizResult(status.code(), infPath + ": " + status.message());

    const CabinetOutputs outputs = outputsFor(infPath, cpu);
    PendingFile cabinetFile(outputs.cabinetPath);
    PendingFile sideFile(outputs.sideFilePath);
    status = cabinetFile.write(cabinet);
    if (status.ok()) status = sideFile.write(setupFile);
    if (status.ok()) status = cabinetFile.commit();
    if (!status.ok()) return status;
    status = sideFile.commit();
    if (!status.ok()) {
        // Both or neither: without its side file the cabinet goes too.
        ::unlink(outputs.cabinetPath.c_str());
    }
    return status;
}

}  // namespace skedlin::cabwiz
