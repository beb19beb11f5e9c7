// The project object of Corlink: one gateway project in memory, its project file, and the bus
// job engine that the gateway operations run their jobs on.
#pragma once

#include "Records.h"
#include "variant.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

namespace corbus {
class brimEib;
}

namespace corlink {

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

    // Address conversion object; created, handed out, replaced and released, never called here.
    std::shared_ptr<automation::Object> mDaliBIN;

    // Record properties. A get returns a copy, a let stores a copy. Every let except
    // DeviceInfo marks the project changed, before the index is checked.
    TypDaliScene DaliScene(std::int16_t Index) const;                                // 0..MaxDaliScenes
    void letDaliScene(std::int16_t Index, const TypDaliScene& Obj_DaliScene);
    TypDaliEinzelGruppe DaliEinzelgruppe(std::int16_t Index) const;                  // 0..16
    void letDaliEinzelgruppe(std::int16_t Index, const TypDaliEinzelGruppe& Obj_DaliEinzelGruppe);
    TypDaliGruppe DaliGruppe(std::int16_t Index) const;                              // 0..64
    void letDaliGruppe(std::int16_t Index, const TypDaliGruppe& Obj_DaliGruppe);
    void letDaliGruppeName(std::int16_t Index, const std::string& Obj_DaliGruppeName);  // 0..64, Name alone
    TypDaliCommand daliCommand() const;
    void letdaliCommand(const TypDaliCommand& Obj_DaliCommand);
    TypHeader Header() const;
    void letHeader(const TypHeader& Obj_Header);  // raises HeaderChanged after storing
    TypDeviceInfo DeviceInfo() const;
    void letDeviceInfo(const TypDeviceInfo& Obj_DeviceInfo);  // leaves the change flag alone
    TypSzene Szene(std::int16_t Index) const;  // 0..MaxSzenen
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
};

}  // namespace corlink
