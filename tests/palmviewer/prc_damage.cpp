// prc_damage IN.prc OUT.prc TYPE ID BYTES
//
// Writes a copy of a Palm resource database in which resource TYPE ID keeps
// only its first BYTES bytes: a damaged package for the viewer's tests.
// Exit status 1 when the file cannot be read or has no such resource.

#include <cstdint>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "formats/RegularFile.h"
#include "formats/prc/PrcFile.h"

int main(int argc, char** argv) {
    using namespace skedlin;
    if (argc != 6 || std::string(argv[3]).size() != 4) {
        std::cerr << "usage: prc_damage IN.prc OUT.prc TYPE ID BYTES\n";
        return 2;
    }
    std::vector<std::uint8_t> image;
    prc::HeaderBytes header;
    std::vector<palm::PalmResource> resources;
    if (!readRegularFile(argv[1], 64u * 1024u * 1024u, image) || !prc::parseDatabase(image, header, resources))
        return std::cerr << "prc_damage: cannot read " << argv[1] << "\n", 1;
    const std::string type = argv[3];
    const auto id = static_cast<std::uint16_t>(std::stoul(argv[4]));
    const auto keep = static_cast<std::size_t>(std::stoul(argv[5]));
    palm::PalmResource* found = nullptr;
    for (palm::PalmResource& resource : resources)
        if (resource.typeText() == type && resource.id == id) found = &resource;
    if (!found) return std::cerr << "prc_damage: no resource " << type << " " << id << "\n", 1;
    if (keep >= found->bytes.size()) return std::cerr << "prc_damage: the resource is not longer than that\n", 1;
    found->bytes.resize(keep);
    const std::vector<std::uint8_t> out = prc::serializeDatabase(header, resources);
    std::ofstream file(argv[2], std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
    return file.flush() ? 0 : 1;
}
