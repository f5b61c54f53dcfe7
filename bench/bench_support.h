#pragma once
// Packages for the inner-step benchmarks, made once per size by the package
// generator that run_bench.sh uses too, in a folder removed at exit.

#include <string>

namespace skedlin::bench {

// Path of a generated package with `events` events and `contacts` contacts
// (and its bitmaps beside it); generated on first use.
const std::string& packagePath(int events, int contacts);

// The build's bin folder, ending in a separator: the builder's DTD and templates' home.
std::string binDirectory();

}  // namespace skedlin::bench
