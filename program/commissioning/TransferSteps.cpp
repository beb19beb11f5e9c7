#include "TransferSteps.h"

#include "FormTexts.h"
#include "Forms.h"
#include "GatewayCommands.h"
#include "Messages.h"
#include "ModDefinition.h"
#include "ModelTables.h"
#include "Seams.h"
#include "frm01.h"

#include <QDialog>
#include <QPointer>

namespace corvane {

namespace {

// Passes the events of a scratch project on to the main window's handlers, which show the
// transfer's error messages; remembers a trapped error, which makes the read a failure.
class RelayToMainWindow : public corlink::clsOrvekDaliEvents {
public:
    bool trappedError = false;

    void InterfaceError(std::int16_t ErrCode) override {
        trappedError = true;
        relay([&](frm01& m) { m.mDali_InterfaceError(ErrCode); });
    }
    void DownUpLoad(corlink::DeviceState, double, const automation::Variant&, corlink::TypLoadProc TypLoad) override {
        relay([&](frm01& m) { m.mDali_DownUpLoad(TypLoad); });
    }
    void LoadEvent(const std::string& loadMsg, std::int32_t param1, std::int32_t, double) override {
        relay([&](frm01& m) { m.mDali_LoadEvent(loadMsg, param1); });
    }
    void LoadErrorEvent(const std::string&, std::int32_t, std::int32_t, double, corlink::LoadError& ErrCode) override {
        relay([&](frm01& m) { m.mDali_LoadErrorEvent(ErrCode); });
    }

private:
    template <typename F> static void relay(F f) {
        if (frm01* main = frm01::Instance()) Trap([&] { f(*main); });
    }
};

}  // namespace

KeepChangeFlag::KeepChangeFlag(corlink::clsOrvekDali& project)
    : project_(project), changedBefore_(project.GetChangeFlag()) {}

KeepChangeFlag::~KeepChangeFlag() {
    if (!changedBefore_) project_.ClearChangeFlag();
}

bool AskAssignmentsLost() {
    return ShowMessage(2, MessageText(MessageTexts.MsgAssignmentsLost, 737)) != msgNo;
}

bool AskToSaveChanges() {
    Project();  // error 91 without a main window
    return frm01::Instance()->AskToSave();
}

bool IsValidPhysicalAddress(std::int32_t phyAdr) { return phyAdr >= 1 && phyAdr <= 0xFFFF; }

bool CheckPhysicalAddress(bool captionPhysicalAddress) {
    corlink::clsOrvekDali& project = Project();
    // The address entry is no unsaved change; changes left unsaved before the check stay marked.
    const KeepChangeFlag keep(project);
    for (;;) {
        const std::int32_t before = project.Header().phyAdr;
        if (IsValidPhysicalAddress(before)) return true;
        if (ShowMessage(1, MessageText(MessageTexts.MsgNoPhysAddress, 910)) != msgOK) return false;
        // A new window each time: one that closed may still wait for its deletion.
        QPointer<QDialog> dialog = qobject_cast<QDialog*>(NewForm("frmphyAdr"));
        if (!dialog) return false;
        if (captionPhysicalAddress) dialog->setWindowTitle(QText(201));
        ShowModal(*dialog);
        if (dialog) dialog->deleteLater();
        // Nothing stored (Cancel, or OK on the unchanged text): the command ends here.
        if (project.Header().phyAdr == before) return false;
    }
}

std::int16_t ReadGatewayIntoProject(Reinit how) {
    corlink::clsOrvekDali& project = Project();
    RelayToMainWindow relay;
    corlink::clsOrvekDali scratch;
    scratch.setEventSink(&relay);
    scratch.IniInterface(MaxLimits, FunctionGroupList, PropertyObjectIds);
    scratch.letHeader(project.Header());
    const std::int16_t result = scratch.StartDownUpLoad(corlink::pdupLoad, EDI, EDIPara, LogFlag());
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
    frm01::Instance()->SetDefaultParameter();
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

void StampHeader() {
    corlink::clsOrvekDali& project = Project();
    corlink::TypHeader h = project.Header();
    h.Bestellnummer = "4177";
    h.Version = "1.3";
    h.DateiName.clear();
    h.LetzterZugriff = 0;
    project.letHeader(h);
    frm01::Instance()->CreateObjektDataTree();
}

}  // namespace corvane
