// What the gateway operations need of the program around them: a message pump that lets the
// program's windows work during a transfer, and the folder that receives the item logs.
// Both are process-wide and set by the program once at start-up (tests set them per case).
#pragma once

#include <filesystem>
#include <functional>

namespace corlink {

// Runs once per engine event while a gateway operation transfers (a GUI passes a call that
// processes its waiting events). An empty function, the default, does nothing. Code run by the
// pump may not start another gateway operation on the same project: that call returns -1.
void setMessagePump(std::function<void()> pump);

// The folder of the item logs "BTSToDO" and "BTSLog". An empty path restores the default, the
// folder of the running executable.
void setProgramFolder(std::filesystem::path folder);
std::filesystem::path programFolder();

}  // namespace corlink
