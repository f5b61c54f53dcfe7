#pragma once
// One run of cabwiz: read D.inf, write D.<cpu>.cab (the setup file first,
// then the payload) and its side file D.<cpu>.dat, both or neither.

#include <string>

#include "tools/cabwiz/CabwizResult.h"

namespace skedlin::cabwiz {

struct CabinetOutputs {
    std::string cabinetPath;
    std::string sideFilePath;
};

// "dir/Conf.inf" with cpu "arm" -> "dir/Conf.arm.cab" and "dir/Conf.arm.dat";
// without a cpu -> "dir/Conf.cab" and "dir/Conf.dat".
CabinetOutputs outputsFor(const std::string& infPath, const std::string& cpu);

CabwizResult makeInstallerCabinet(const std::string& infPath, const std::string& cpu);

}  // namespace skedlin::cabwiz
