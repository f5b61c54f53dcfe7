// prc_damage IN.prc OUT.prc TYPE ID BYTES
//
// Writes a copy of a Palm resource database in which resource TYPE ID keeps
// only its first BYTES bytes: a damaged package for the viewer's tests.
// Exit status 1 when the file cannot be read or has no such resource.

#include <cstdint>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

std::uint32_t get(const Bytes& b, std::size_t at, int bytes) {
    std::uint32_t value = 0;
    for (int i = 0; i < bytes; ++i) value = (value << 8) | b.at(at + i);
    return value;
}

void put(Bytes& b, std::size_t at, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) b.at(at + i) = static_cast<std::uint8_t>(value >> (8 * (bytes - 1 - i)));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 6 || std::string(argv[3]).size() != 4) {
        std::cerr << "usage: prc_damage IN.prc OUT.prc TYPE ID BYTES\n";
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    const Bytes prc((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (prc.size() < 78) return std::cerr << "prc_damage: cannot read " << argv[1] << "\n", 1;
    const std::string type = argv[3];
    const auto id = static_cast<std::uint16_t>(std::stoul(argv[4]));
    const auto keep = static_cast<std::uint32_t>(std::stoul(argv[5]));
    const std::size_t count = get(prc, 76, 2);
    std::size_t found = count;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t at = 78 + 10 * i;
        if (std::string(prc.begin() + static_cast<std::ptrdiff_t>(at),
                        prc.begin() + static_cast<std::ptrdiff_t>(at + 4)) == type &&
            get(prc, at + 4, 2) == id)
            found = i;
    }
    if (found == count) return std::cerr << "prc_damage: no resource " << type << " " << id << "\n", 1;
    const std::size_t start = get(prc, 78 + 10 * found + 6, 4);
    const std::size_t end = found + 1 < count ? get(prc, 78 + 10 * (found + 1) + 6, 4) : prc.size();
    if (keep >= end - start) return std::cerr << "prc_damage: the resource is not longer than that\n", 1;
    const std::size_t cut = end - start - keep;
    Bytes out(prc.begin(), prc.begin() + static_cast<std::ptrdiff_t>(start + keep));
    out.insert(out.end(), prc.begin() + static_cast<std::ptrdiff_t>(end), prc.end());
    for (std::size_t i = found + 1; i < count; ++i)
        put(out, 78 + 10 * i + 6, get(out, 78 + 10 * i + 6, 4) - static_cast<std::uint32_t>(cut), 4);
    std::ofstream file(argv[2], std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
    return file.flush() ? 0 : 1;
}
