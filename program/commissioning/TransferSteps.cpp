#include "TransferSteps.h"

#include "FormTexts.h"
#include "Forms.h"
#include "MainWindowServices.h"
#include "Messages.h"
#include "ModDefinition.h"
#include "ModelTables.h"
#include "Seams.h"
#include "corlink/clsOrvekDali.h"

#include <QDialog>
#include <QPointer>

namespace corvane {

namespace {

// Passes the transfer events of a scratch project on to the main window's handlers, which show
// the transfer's error messages and report their own errors; remembers a trapped error, which
// makes the read a failure.
class RelayToMainWindow : public corlink::clsOrvekDaliEvents {
public:
    explicit RelayToMainWindow(corlink::clsOrvekDaliEvents& main) : main_(main) {}

    bool trappedError = false;

    void InterfaceError(std::int16_t ErrCode) override {
        trappedError = true;
        main_.InterfaceError(ErrCode);
    }
    void DownUpLoad(corlink::DeviceState status, double date, const automation::Variant& phyAdr,
                    corlink::TypLoadProc TypLoad) override {
        main_.DownUpLoad(status, date, phyAdr, TypLoad);
    }
    void LoadEvent(const std::string& loadMsg, std::int32_t param1, std::int32_t param2, double dateTime) override {
        main_.LoadEvent(loadMsg, param1, param2, dateTime);
    }
    void LoadErrorEvent(const std::string& loadMsg, std::int32_t param1, std::int32_t param2, double dateTime,
                        corlink::LoadError& ErrCode) override {
        main_.LoadErrorEvent(loadMsg, param1, param2, dateTime, ErrCode);
    }

private:
    corlink::clsOrvekDaliEvents& main_;
};

}  // namespace

KeepChangeFlag::KeepChangeFlag(corlink::clsOrvekDali& project)
    : project_(project), changedBefore_(project.GetChangeFlag()) {}

KeepChangeFlag::~KeepChangeFlag() {
    if (!changedBefore_) project_.ClearChangeFlag();
}

bool AskAssignmentsLost() { return ShowMessage(2, MessageText(MessageTexts.MsgAssignmentsLost, 737)) != msgNo; }

bool IsValidPhysicalAddress(std::int32_t phyAdr) { return phyAdr >= 1 && phyAdr <= 0xFFFF; }

bool CheckPhysicalAddress(MainWindowServices& main, bool captionPhysicalAddress) {
    corlink::clsOrvekDali& project = main.mDali();
    // The address entry is no unsaved change; changes left unsaved before the check stay marked.
    const KeepChangeFlag keep(project);
    for (;;) {
        const std::int32_t before = project.Header().phyAdr;
        if (IsValidPhysicalAddress(before)) return true;
        if (ShowMessage(1, MessageText(MessageTexts.MsgNoPhysAddress, 910)) != msgOK) return false;
        // A new window each time: one that closed may still wait for its deletion.
        QPointer<QDialog> dialog = qobject_cast<QDialog*>(NewForm("frmphyAdr", main));
        if (!dialog) return false;
        if (captionPhysicalAddress) dialog->setWindowTitle(QText(201));
        ShowModal(*dialog);
        if (dialog) dialog->deleteLater();
        // Nothing stored (Cancel, or OK on the unchanged text): the command ends here.
        if (project.Header().phyAdr == before) return false;
    }
}

std::int16_t ReadGatewayIntoProject(MainWindowServices& main, Reinit how) {
    corlink::clsOrvekDali& project = main.mDali();
    RelayToMainWindow relay(main.ProjectEvents());
    corlink::clsOrvekDali scratch;
    scratch.setEventSink(&relay);
    scratch.IniInterface(MaxLimits, FunctionGroupList, PropertyObjectIds);
    scratch.letHeader(project.Header());
    const std::int16_t result = scratch.StartDownUpLoad(corlink::pdupLoad, EDI, EDIPara, main.LogFileFlag());
    scratch.setEventSink(nullptr);
    if (result < 0 || relay.trappedError) {
        // The project keeps its data, but takes the zero upload time with which the engine
        // marks a read it filed as failed; that mark is no change to save.
        if (scratch.Header().LetzterUpload == 0 && project.Header().LetzterUpload != 0) {
            const KeepChangeFlag keep(project);
            corlink::TypHeader h = project.Header();
            h.LetzterUpload = 0;
            project.letHeader(h);
        }
        return result < 0 ? result : std::int16_t{-1};
    }

    if (how == Reinit::NewProject) {
        project.IniInterfaceStart(MaxLimits, FunctionGroupList, PropertyObjectIds);
    } else {
        project.IniInterface(MaxLimits, FunctionGroupList, PropertyObjectIds);
    }
    main.SetDefaultParameter();
    for (std::int16_t i = 0; i < 64; ++i) {
        const corlink::TypDaliGruppe read = scratch.DaliGruppe(i);
        corlink::TypDaliGruppe g = project.DaliGruppe(i);
        g.Gruppe = read.Gruppe;
        g.pAdrL = read.pAdrL;
        g.pAdrM = read.pAdrM;
        g.pAdrH = read.pAdrH;
        g.Index = read.Index;
        project.letDaliGruppe(i, g);
    }
    for (std::int16_t s = 0; s <= MaxLimits.MaxDaliScenes; ++s) project.letDaliScene(s, scratch.DaliScene(s));
    const corlink::TypHeader read = scratch.Header();
    corlink::TypHeader h = project.Header();
    h.phyAdr = read.phyAdr;
    h.phyAdrString = read.phyAdrString;
    h.LetzterUpload = read.LetzterUpload;
    project.letHeader(h);
    return result;
}

void StampHeader(MainWindowServices& main) {
    corlink::clsOrvekDali& project = main.mDali();
    corlink::TypHeader h = project.Header();
    h.Bestellnummer = "4177";
    h.Version = "1.3";
    h.DateiName.clear();
    h.LetzterZugriff = 0;
    project.letHeader(h);
    main.CreateObjektDataTree();
}

}  // namespace corvane
