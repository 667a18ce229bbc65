// Whole-source checks that need every topic read first: jump targets,
// duplicate contexts, titles, and records too big for a topic block.
#pragma once

#include <vector>

#include "source.h"

namespace hlp {

// Appends a diagnostic for every problem; lastLine is where file-level
// omissions are reported.
void CheckHelpSource(HelpSource& source, int lastLine, std::vector<Diagnostic>& errors);

}  // namespace hlp
