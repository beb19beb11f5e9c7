// What the program sets up before it runs: every module registers its windows by name, and the
// gateway operations get the message pump that keeps the windows working while they transfer.
#pragma once

namespace corvane {

void RegisterProgramModules();

}  // namespace corvane
