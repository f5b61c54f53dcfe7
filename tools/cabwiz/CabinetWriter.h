#pragma once
// Packs members into an MS-CAB cabinet in memory with libgcab: one folder,
// stored without compression, members in the order given, each with a fixed
// date and the archive attribute.

#include <cstdint>
#include <string>
#include <vector>

#include "tools/cabwiz/CabwizResult.h"

namespace skedlin::cabwiz {

struct CabinetMember {
    std::string name;  // bare 8.3 name
    const std::vector<std::uint8_t>* bytes = nullptr;
};

CabwizResult packCabinet(const std::vector<CabinetMember>& members, std::vector<std::uint8_t>& cabinet);

}  // namespace skedlin::cabwiz
