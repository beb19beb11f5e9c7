// The steps around the commissioning dialogs' gateway work: the loss and save questions and
// the physical-address check before it, the read of the gateway's tables into the project,
// and the header stamp after a whole-device transfer or an installation run.
#pragma once

#include <cstdint>

namespace corlink {
class clsOrvekDali;
}

namespace corvane {

class MainWindowServices;

// Keeps the project's change flag over a step that may write the project without changing
// what the user has to save: a project unchanged when the guard was made is unchanged again
// when it ends, however the step ends; earlier unsaved changes stay marked.
class KeepChangeFlag {
public:
    explicit KeepChangeFlag(corlink::clsOrvekDali& project);
    ~KeepChangeFlag();
    KeepChangeFlag(const KeepChangeFlag&) = delete;
    KeepChangeFlag& operator=(const KeepChangeFlag&) = delete;

private:
    corlink::clsOrvekDali& project_;
    bool changedBefore_;
};

// Message 737 (Yes/No): false when the user answers No.
bool AskAssignmentsLost();

// 1..65535: an address the gateway operations can reach.
bool IsValidPhysicalAddress(std::int32_t phyAdr);

// Until the header holds a valid address: message 910, then the physical-address dialog
// (with the caption text 201 when asked for). False, ending the command, when the box is not
// answered with OK or the dialog closes without storing an address. The change flag is left as
// it was before the check, also when an address was stored.
bool CheckPhysicalAddress(MainWindowServices& main, bool captionPhysicalAddress);

// How the project is re-initialised before it takes the gateway's tables.
enum class Reinit {
    NewProject,  // IniInterfaceStart: ballast addresses, names and group texts emptied too
    KeepTexts,   // IniInterface: ballast names and addresses kept
};

// Reads the gateway's ballast and scene tables. Only once they have been read is the project
// re-initialised (and marked unchanged) and takes them with the gateway's address and the upload
// time; a failed read leaves the project as it was, but for the zero upload time of a read that
// the engine filed as failed (the change flag stays as it was). The read's events reach the main
// window's handlers. Result: the gateway operation's (below 0 a failure).
std::int16_t ReadGatewayIntoProject(MainWindowServices& main, Reinit how);

// Order number "4177", version "1.3", no file name, last access 00:00:00 (the project counts
// as changed); then the project tree is rebuilt.
void StampHeader(MainWindowServices& main);

}  // namespace corvane
