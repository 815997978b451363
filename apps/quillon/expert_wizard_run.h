#pragma once
// quillon expert without --out: the expert's wizard window over the columns of a data
// source. Create writes the template and prints the run command as the command line does;
// the template may then open in the template editor.

#include <string>

#include "apps/quillon/expert_template.h"

namespace quillon::app {

// Shows the wizard with start's options and fields (start.file is the proposed template
// file, the source's name with .htm when empty). With screenshot set, the first page is
// drawn into that PNG file, the later ones (every field chosen) into NAME-2.png ..
// NAME-4.png beside it, and the wizard closes without writing anything. Returns 0 (also
// when the wizard was cancelled), or an exit code of quillon expert with the error.
int RunExpertWizard(const ExpertSource& source, ExpertTemplate start, const std::string& screenshot,
                    std::string& error);

}  // namespace quillon::app
