#pragma once
// The outcome of one cabwiz step: success, or the kind of failure and the
// message the user will read (naming the file and, where there is one, the line).

#include "formats/Result.h"

namespace skedlin::cabwiz {

enum class CabwizError {
    None,
    Description,  // the installation description cannot be read or is not well formed
    Plan,         // its content is incomplete or invalid (a missing section, a bad value)
    SourceFile,   // a file to install cannot be read
    Limit,        // the setup file or the cabinet would pass a limit of its format
    Output,       // the cabinet or its side file cannot be written
};

using CabwizResult = Result<CabwizError>;

}  // namespace skedlin::cabwiz
