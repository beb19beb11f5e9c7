// The project object of Corlink: one gateway project in memory, its project file, and the bus
// job engine that the gateway operations run their jobs on.
#pragma once

#include "corlink/Records.h"
#include "variant.h"

#include <array>
#include <cstdint>
#include <iosfwd>
#include <memory>
#include <string>

namespace corbus {
class brimEib;
class brimEibEvents;
class brimDevice;
}  // namespace corbus
namespace brimcorbin {
class Converter;
}

namespace corlink {

// ---- Lists, group-address tables and menu language: forward declarations ----
class clsTabs;       // clsTabs.h
struct TypMenuText;  // MenuLanguage.h
// ---- end ----

// The events of the project object. Its one holder installs a sink with setEventSink; every
// event is raised synchronously inside the call that raises it. Unhandled events do nothing.
class clsOrvekDaliEvents {
public:
    virtual ~clsOrvekDaliEvents() = default;
    // Header let, SaveProjektData, OpenProjektData.
    virtual void HeaderChanged() {}
    // An operation that traps its errors reports the error number here and returns normally.
    virtual void InterfaceError(std::int16_t /*ErrCode*/) {}
    virtual void DeviceInfoEvent(TypDeviceInfo& /*DeviceInfoText*/, DeviceState /*status*/, double /*Datum*/,
                                 const automation::Variant& /*phyAdr*/) {}
    virtual void DownUpLoad(DeviceState /*status*/, double /*Datum*/, const automation::Variant& /*phyAdr*/,
                            TypLoadProc /*TypLoad*/) {}
    virtual void LoadEvent(const std::string& /*loadMsg*/, std::int32_t /*param1*/, std::int32_t /*param2*/,
                           double /*dateTime*/) {}
    virtual void LoadErrorEvent(const std::string& /*loadMsg*/, std::int32_t /*param1*/, std::int32_t /*param2*/,
                                double /*dateTime*/, LoadError& /*ErrCode*/) {}
};

// Errors: an index outside a record array (or any index of an array not sized yet) raises
// automation::AutomationError 9; the file operations raise or report the run-time errors
// 52, 53, 62, 70, 75, 76 and 6 (a text too long to be filed).
class clsOrvekDali {
public:
    clsOrvekDali();
    ~clsOrvekDali();
    clsOrvekDali(const clsOrvekDali&) = delete;
    clsOrvekDali& operator=(const clsOrvekDali&) = delete;

    // The one holder of the events; nullptr disconnects. The sink must outlive the connection.
    void setEventSink(clsOrvekDaliEvents* sink) noexcept { mEvents = sink; }

    // Address conversion object; created with the project, handed out, replaced and released,
    // never called here.
    std::shared_ptr<brimcorbin::Converter> mDaliBIN;

    // Record properties. A get returns a copy, a let stores a copy. Every let except
    // DeviceInfo marks the project changed, before the index is checked.
    TypDaliScene DaliScene(std::int16_t Index) const;  // 0..MaxDaliScenes
    void letDaliScene(std::int16_t Index, const TypDaliScene& Obj_DaliScene);
    TypDaliEinzelGruppe DaliEinzelgruppe(std::int16_t Index) const;  // 0..16
    void letDaliEinzelgruppe(std::int16_t Index, const TypDaliEinzelGruppe& Obj_DaliEinzelGruppe);
    TypDaliGruppe DaliGruppe(std::int16_t Index) const;  // 0..64
    void letDaliGruppe(std::int16_t Index, const TypDaliGruppe& Obj_DaliGruppe);
    void letDaliGruppeName(std::int16_t Index, const std::string& Obj_DaliGruppeName);  // 0..64, Name alone
    TypDaliCommand daliCommand() const;
    void letdaliCommand(const TypDaliCommand& Obj_DaliCommand);
    TypHeader Header() const;
    void letHeader(const TypHeader& Obj_Header);  // raises HeaderChanged after storing
    TypDeviceInfo DeviceInfo() const;
    void letDeviceInfo(const TypDeviceInfo& Obj_DeviceInfo);  // leaves the change flag alone
    TypSzene Szene(std::int16_t Index) const;                 // 0..MaxSzenen
    void letSzene(std::int16_t Index, const TypSzene& Obj_Szene);
    TypTasten Tasten(std::int16_t Index) const;  // 0..MaxTasten
    void letTasten(std::int16_t Index, const TypTasten& Obj_Taste);
    TypBeleuchtungsGruppe BeleuchtungsGruppe(std::int16_t Index) const;  // 0..MaxBeleuchtungsgruppen
    void letBeleuchtungsGruppe(std::int16_t Index, const TypBeleuchtungsGruppe& Obj_BeleuchtungsGruppe);
    TypBelueftungsGruppe BelueftungsGruppe(std::int16_t Index) const;  // 0..MaxBelueftungsgruppen
    void letBelueftungsGruppe(std::int16_t Index, const TypBelueftungsGruppe& Obj_BelueftungsGruppe);
    TypJalousieGruppe JalousieGruppe(std::int16_t Index) const;  // 0..MaxJalousiegruppen
    void letJalousieGruppe(std::int16_t Index, const TypJalousieGruppe& Obj_JalousieGruppe);
    TypTemperaturGruppe TemperaturGruppe(std::int16_t Index) const;  // 0..MaxTemperaturgruppen
    void letTemperaturGruppe(std::int16_t Index, const TypTemperaturGruppe& Obj_TemperaturGruppe);
    TypMeldeGruppe MeldeGruppe(std::int16_t Index) const;  // 0..MaxMeldegruppen
    void letMeldeGruppe(std::int16_t Index, const TypMeldeGruppe& Obj_MeldeGruppe);
    TypZeiten Zeiten() const;
    void letZeiten(const TypZeiten& Zeiten);

    // Sizing: keeps copies of the model's limits, function-group kinds and object ids and
    // re-creates every model-sized array empty. IniInterface keeps the ballasts' addresses and
    // texts and the DALI groups' texts; IniInterfaceStart (a new project) empties them too.
    void IniInterface(const TypMaxGrenzwerte& Grenzwerte, const SafeArray<TypFunktionsGruppen>& FGruppen,
                      const TypPropertyObjID& PropObjID);
    void IniInterfaceStart(const TypMaxGrenzwerte& Grenzwerte, const SafeArray<TypFunktionsGruppen>& FGruppen,
                           const TypPropertyObjID& PropObjID);

    bool GetChangeFlag() const noexcept { return mChangeFlag; }
    void ClearChangeFlag() noexcept { mChangeFlag = false; }

    // The project file: the header and the DALI part, sections counted by the limits in force.
    // Save writes a complete new file and only then replaces the old one; on failure it raises
    // and the project (header and change flag included) stays as it was.
    void SaveProjektData(const std::string& NameofFile);
    // Reads the whole file into the project, or, on any failure, reports InterfaceError and
    // leaves the project as it was. Never creates or changes a file.
    void OpenProjektData(const std::string& NameofFile);
    // Reads the header alone (to learn the gateway model); raises on failure, header unchanged.
    void OpenProjektMaxData(const std::string& NameofFile);
    // Only regular files are read (ProjectFile.h); a save refuses to replace anything else.

    // The file's contents from a stream: the header and the DALI part under the limits in force,
    // taken over only when all of them were read, with Header.DateiName = NameofFile. A stream
    // that ends early raises 62, one that fails 75; the project then stays as it was. The change
    // flag and the events are left to the caller.
    void ReadProjekt(std::istream& File, const std::string& NameofFile);
    // The header alone from a stream (62, 75 as above).
    static TypHeader ReadProjektHeader(std::istream& File);

    // A project read aside and taken over whole. CopyProjekt copies every part of the project
    // (records, limits, the model's copies, change flag) from another object, so that what a file
    // does not hold carries over; TakeProjekt exchanges the two projects in one step that cannot
    // fail, then clears the change flag and raises HeaderChanged. The job engine, the converter
    // and the event sink stay with their objects.
    void CopyProjekt(const clsOrvekDali& from);
    void TakeProjekt(clsOrvekDali& from);

private:
    // Raising the events; every operation of the class raises them through these.
    void raiseHeaderChanged() {
        if (mEvents) mEvents->HeaderChanged();
    }
    // The error number as a 16-bit integer; a number outside that range raises error 6 instead.
    void raiseInterfaceError(std::int32_t errNumber);
    void raiseDeviceInfoEvent(DeviceState status, double Datum, const automation::Variant& phyAdr) {
        if (mEvents) mEvents->DeviceInfoEvent(mDeviceInfo, status, Datum, phyAdr);
    }
    void raiseDownUpLoad(DeviceState status, double Datum, const automation::Variant& phyAdr, TypLoadProc TypLoad) {
        if (mEvents) mEvents->DownUpLoad(status, Datum, phyAdr, TypLoad);
    }
    void raiseLoadEvent(const std::string& loadMsg, std::int32_t param1, std::int32_t param2, double dateTime) {
        if (mEvents) mEvents->LoadEvent(loadMsg, param1, param2, dateTime);
    }
    void raiseLoadErrorEvent(const std::string& loadMsg, std::int32_t param1, std::int32_t param2, double dateTime,
                             LoadError ErrCode) {
        if (mEvents) mEvents->LoadErrorEvent(loadMsg, param1, param2, dateTime, ErrCode);
    }

    // Calls f(a.m, b.m) for every member that makes up the project.
    template <class A, class B, class F>
    static void forEachProjectMember(A& a, B& b, F f);

    // Steps 1 to 3 of both sizing operations.
    void sizeToModel(const TypMaxGrenzwerte& Grenzwerte, const SafeArray<TypFunktionsGruppen>& FGruppen,
                     const TypPropertyObjID& PropObjID);

    // The project. The gateway operations (their own source files) are members of this class
    // and work on these directly.
    TypDeviceInfo mDeviceInfo;
    std::array<TypDaliGruppe, 65> mDaliGruppe{};  // ballasts 0..63; sizing leaves 64 alone
    TypDaliCommand mdaliCommand;
    SafeArray<TypDaliScene> mDaliScene;  // 0..MaxDaliScenes
    std::array<TypDaliSceneData, 33> mDaliSceneData{};
    std::array<TypDaliEinzelGruppe, 17> mDaliEinzelgruppe{};  // groups 0..15; sizing leaves 16 alone
    TypHeader mHeader;
    SafeArray<TypSzene> mSzene;
    SafeArray<TypTasten> mTasten;
    SafeArray<TypBeleuchtungsGruppe> mBeleuchtungsGruppe;
    SafeArray<TypBelueftungsGruppe> mBelueftungsGruppe;
    SafeArray<TypTemperaturGruppe> mTemperaturGruppe;
    SafeArray<TypJalousieGruppe> mJalousieGruppe;
    SafeArray<TypMeldeGruppe> mMeldeGruppe;
    SafeArray<TypZeiten> mZeiten;  // always 0..0
    bool mChangeFlag = false;
    TypPropertyObjID mPropObjID;
    TypMaxGrenzwerte mGrenzwerte;  // the limits in force; all 0 until sized
    SafeArray<TypFunktionsGruppen> mFGruppen;

    std::shared_ptr<corbus::brimEib> mRiduDIV;  // the bus job engine, created with the object
    clsOrvekDaliEvents* mEvents = nullptr;

    // ---- Gateway operations (GatewayOperations.cpp, PropertyMap.cpp, BusEvents.cpp, ItemLog.cpp) ----
public:
    // Each operation runs one device job on the bus and blocks until it has ended; the engine's
    // progress and faults arrive meanwhile as LoadEvent / LoadErrorEvent, and the message pump
    // (GatewayHooks.h) runs once per engine event. comEdistr / comparastr: the bus interface
    // identifier and parameters. UpDownFlag: pdDownLoad writes, pdupLoad reads, any other value
    // transfers nothing. LogFileFlag: the job's items are logged to "BTSToDO" before and "BTSLog"
    // after the transfer, in programFolder().
    // Result: 1 done (or nothing to report); -1 the transfer failed, an error was reported with
    // InterfaceError (its number's low 16 bits), or another gateway operation of this project is
    // still running (then nothing is touched and no event is raised).
    std::int16_t StartDownUpLoad(TypLoadProc UpDownFlag, const std::string& comEdistr, const std::string& comparastr,
                                 bool LogFileFlag = false);
    // Reads the order number, firmware version and load/run states into DeviceInfo; Bestellnr and
    // Firmware (when given) receive the order number and firmware texts.
    std::int16_t StartDeviceInfo(const std::string& comEdistr, const std::string& comparastr,
                                 std::string* Bestellnr = nullptr, std::string* Firmware = nullptr,
                                 bool LogFileFlag = false);
    // Writes the three command bytes of dCommand, or reads the gateway's reply into daliCommand.
    std::int16_t StartNeuinstallation(TypLoadProc UpDownFlag, const std::string& comEdistr,
                                      const std::string& comparastr, const TypDaliCommand& dCommand,
                                      bool LogFileFlag = false);
    // Writes the scene table alone, or reads it into DaliScene; dCommand is not used.
    std::int16_t StartSceneDownload(TypLoadProc UpDownFlag, const std::string& comEdistr, const std::string& comparastr,
                                    const TypDaliCommand& dCommand, bool LogFileFlag = false);

private:
    class BusEvents;   // the engine's event sink
    class GatewayJob;  // one operation's device job, from building to leaving the engine's lists
    void connectBusEvents();
    // The property map: builders of the device jobs and read-backs of their replies. A read-back
    // checks the whole reply before it changes the project, and raises 9 (too short), 13 (Empty,
    // no array) or 6 (a byte out of range) otherwise.
    void BuildLoadItems(corbus::brimDevice& dev) const;
    void BuildDeviceInfoItems(corbus::brimDevice& dev) const;
    void BuildCommandItem(corbus::brimDevice& dev, const TypDaliCommand& dCommand) const;
    void BuildSceneItem(corbus::brimDevice& dev) const;
    void ReadLoadItems(const corbus::brimDevice& dev);
    TypDeviceInfo DeviceInfoReadBack(const corbus::brimDevice& dev) const;
    void ReadCommandReply(const corbus::brimDevice& dev);
    void ReadSceneReply(const corbus::brimDevice& dev);

    std::shared_ptr<corbus::brimEibEvents> mBusEvents;  // the engine's sink, a BusEvents
    bool mGatewayBusy = false;                          // a gateway operation runs
    // ---- end of gateway operations ----

    // ---- Lists for the windows, group-address tables, menu language (UiLists.cpp, clsTabs.cpp,
    // ---- MenuLanguage.cpp) ----
public:
    // The lists replace the caller's array. On a failure they report InterfaceError with the
    // error number and return normally; the list then keeps 101 entries with those written so far.
    //
    // The project tree: every group and scene, Max of each kind, in the order lighting (ids
    // 101 + i), ventilation (201), temperature (301), blind (401), scene (501), signalling (701;
    // text Name0, else Name1). With no group at all, one empty entry.
    void GetDataTree(SafeArray<TypDynamicTasten>& myArray);
    // Scene IndexNummer's value of every lighting, ventilation, temperature and blind group
    // (active or not): text "kind: name", ID k * 100 + i, SortKey 1, 3, 4, 2 by kind.
    void GetDynamicSzenenArray(SafeArray<TypDynamicSzenen>& myArray, std::int16_t IndexNummer);
    // What a push button can drive: entry 0 "-----" (ID 0), then the active groups of kinds 1..4
    // and the active scenes (AktorID 100), ID k * 100 + i as TypTasten.GruppenID holds it.
    // IndexNummer is not read.
    void GetDynamicArray(SafeArray<TypDynamicTasten>& myArray, std::int16_t IndexNummer = 0);
    // Whether group mFGruppeIndex of kind mFGruppe (1..4: also its scene values) is used by a scene
    // or a push button. ClearFlag removes those uses; a scene left without an active value
    // becomes inactive and loses its name. False after a failure.
    bool isUsedinST(std::int16_t mFGruppe, std::int16_t mFGruppeIndex, bool ClearFlag = false);
    // The number of entries of the association table of the project's active bindings, MaxObjekte
    // of them one per object (a Long), however many addresses and entries there are (only the
    // packed tables are limited by their bytes); Empty after a failure, which InterfaceError
    // reports.
    automation::Variant GetAssozLen();

private:
    friend struct ListsAndTablesTestAccess;  // the tests of the private operations below
    // Recomputes Active of scene index: whether any of its values is active.
    void CheckUsedEntry(std::int16_t index);
    // Enters every active binding (lighting, ventilation, temperature, blind, signalling groups
    // 0..Max-1, the date/time/display objects, the scenes' extension objects); a kind that
    // cannot be read is left out.
    void FillTabs(clsTabs& tabs) const;
    // Reads programFolder()/MenuSprache.m<MenuSpracheID> of Zeiten into items (0..n-1). Raises
    // 52 (MenuSprache is no plain file name), 53 / 76 (no file), 75 (unreadable), 62 (a record cut
    // short), 13 / 6 (a number that is no 16-bit integer).
    void ReadLanguageFile(SafeArray<TypMenuText>& items) const;
    // Writes items to programFolder()/MenuSprache.m00, replacing it; raises 9 (no list), 76, 70, 75.
    void WriteLanguageFile(const SafeArray<TypMenuText>& items) const;
    // Adds to dev (addressed to Header.phyAdr) the items that load the menu texts of the
    // project's language file (objSprache, properties 202 + i, 16 characters each) and the
    // group address table into the gateway, framed by load-state controls. Failures raise.
    void BuildLanguageItems(corbus::brimDevice& dev);
    // ---- end of lists, tables and menu language ----
};

}  // namespace corlink
