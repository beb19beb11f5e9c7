// What the other windows, the commissioning steps and the printout use of the main window: the
// project object for one call at a time, its event handlers, the tree, the save question and the
// file commands they share. frm01 implements it; the window registry (Forms.h) hands it to every
// window it creates, which keeps the reference and reaches the main window through it alone.
// What a window works on comes from its opener (Forms.h), not from the main window's tree.
#pragma once

#include "ProjectDocument.h"
#include "corlink/Records.h"

#include <functional>
#include <string>

namespace corlink {
class clsOrvekDali;
class clsOrvekDaliEvents;
}  // namespace corlink

namespace corvane {

class MainWindowServices {
public:
    // The project object, borrowed for one call at a time (error 91 while there is none).
    virtual corlink::clsOrvekDali& mDali() = 0;
    // The main window's handlers of the project object's events: a project read aside passes
    // its transfer's events on to them, so that they show its messages and progress.
    virtual corlink::clsOrvekDaliEvents& ProjectEvents() = 0;

    // Rebuilds the project tree from mDali and selects the node SelectedNodeIndex.
    virtual void CreateObjektDataTree() = 0;

    // Marks the project as unchanged.
    virtual void SetDefaultParameter() = 0;
    // Save: reports its own errors; the project was saved when GetChangeFlag() is false afterwards.
    virtual void SaveProjectProc() = 0;
    // The save question (message 901), asked only when there are unsaved changes: false when the
    // user cancels, or answers Yes and the project could not be saved.
    virtual bool AskToSave() = 0;
    // The download log flag that gateway operations pass on: the check mark of mnuService.
    virtual bool LogFileFlag() const = 0;

    // The open project's header for a project started afresh for a gateway model (frm01.h).
    virtual corlink::TypHeader FreshHeader(const std::string& orderNo, const std::string& version) = 0;
    // Starts the project afresh for the model the header names and rebuilds the tree; false,
    // with nothing changed, when the model is refused (frm01.h).
    virtual bool StartAfresh(const corlink::TypHeader& header, ProjectDocument::Sizing sizing) = 0;
    // Opens a project file as the open command does, without the save question (frm01.h).
    using FileOpen = ProjectDocument::Outcome;
    virtual FileOpen OpenProjectFile(const std::string& name) = 0;

protected:
    ~MainWindowServices() = default;
};

// Installs the command that the main window's print command (mnuDrucken) runs with the main
// window: the printout of the open project, which the printout module installs. Without one
// the print command does nothing.
void SetPrintCommand(std::function<void(MainWindowServices&)> command);

}  // namespace corvane
