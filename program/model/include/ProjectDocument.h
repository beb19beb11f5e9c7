// The open project as a document: the project object and the model tables in force (Model).
// A project file is read once, into memory; its header and DALI part are parsed into a project
// aside, under the model that its header names, whose tables are built aside as well. Only a
// completely read project replaces the open one, together with its model's tables, in one step
// that cannot fail halfway; any failure leaves the project and the tables as they were.
#pragma once

#include "corlink/clsOrvekDali.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace corvane {

class ProjectDocument {
public:
    explicit ProjectDocument(corlink::clsOrvekDali& project) : project_(project) {}

    enum class Outcome { Opened, ModelRefused, NotRead };
    struct OpenResult {
        Outcome outcome;
        std::int16_t error = 0;  // NotRead: the error number, for the project's InterfaceError report
    };

    // Opens a project file as the open command does: the file and its header are read as
    // OpenProjektMaxData reads them and raise their errors (53, 76, 70, 75, 62, and 6 for a file
    // larger than any that a save writes); a model refused with message 916 gives ModelRefused, a
    // DALI part that cannot be read NotRead. Opened: the project holds the file, its change flag
    // is clear and HeaderChanged was raised once.
    OpenResult Open(const std::string& name);

    // The largest project file that a save can write under the limits of the known models.
    static std::size_t MaxFileSize();

    // How a project started afresh is sized for its model: IniInterface keeps the ballasts' long
    // addresses and names and the DALI groups' records (but for the ballasts' group assignment),
    // IniInterfaceStart empties them as well.
    enum class Sizing { IniInterface, IniInterfaceStart };

    // The open project's header with that order number and version, no file name, physical
    // address 0 ("0.0.0") and zero dates of last access, download and upload; description,
    // identifier and remarks stay.
    corlink::TypHeader FreshHeader(const std::string& orderNo, const std::string& version) const;

    // Starts the project afresh for the model that the header's order number and version name:
    // the model is selected (SelectDeviceDefinition), the project sized for it, the header taken
    // (HeaderChanged) and the change flag cleared. A refused model (message 916) returns false
    // and changes nothing.
    bool StartAfresh(const corlink::TypHeader& header, Sizing sizing);

private:
    corlink::clsOrvekDali& project_;
};

}  // namespace corvane
