// The builder's whole reading of a package: load, validate, walk, encode
// records and bitmaps into both targets. Nothing is written.

#include <cstddef>
#include <cstdint>

#include "fuzz_temp_file.h"
#include "builder/PackageBuilder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace skedlin::builder;
    BuildOptions options;
    options.inputPath = skedlin::fuzz::writeInput(data, size, "package.xml");
    options.outputBase = options.inputPath + ".out";
    options.builderDirectory = SKEDLIN_BIN_DIR "/";
    PackageBuilder builder(options);
    (void)builder.read();  // only the reading is exercised; a refusal is an outcome like any other
    return 0;
}
