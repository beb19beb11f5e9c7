#include "corlink/clsOrvekDali.h"

#include "automation_error.h"
#include "brimcorbin.h"
#include "corbus/brim_eib.h"

namespace corlink {

clsOrvekDali::clsOrvekDali() : mRiduDIV(std::make_shared<corbus::brimEib>()) {
    connectBusEvents();
    mDaliBIN = std::make_shared<brimcorbin::Converter>();
    mZeiten.redim(0, 0);
}

clsOrvekDali::~clsOrvekDali() {
    mRiduDIV.reset();
    mDaliBIN.reset();
}

void clsOrvekDali::raiseInterfaceError(std::int32_t errNumber) {
    const std::int16_t code = automation::toInteger(static_cast<double>(errNumber));
    if (mEvents) mEvents->InterfaceError(code);
}

// --- record properties ---

TypDaliScene clsOrvekDali::DaliScene(std::int16_t Index) const { return mDaliScene(Index); }
void clsOrvekDali::letDaliScene(std::int16_t Index, const TypDaliScene& Obj_DaliScene) {
    mChangeFlag = true;
    mDaliScene(Index) = Obj_DaliScene;
}

TypDaliEinzelGruppe clsOrvekDali::DaliEinzelgruppe(std::int16_t Index) const {
    return fixedAt(mDaliEinzelgruppe, Index);
}
void clsOrvekDali::letDaliEinzelgruppe(std::int16_t Index, const TypDaliEinzelGruppe& Obj_DaliEinzelGruppe) {
    mChangeFlag = true;
    fixedAt(mDaliEinzelgruppe, Index) = Obj_DaliEinzelGruppe;
}

TypDaliGruppe clsOrvekDali::DaliGruppe(std::int16_t Index) const { return fixedAt(mDaliGruppe, Index); }
void clsOrvekDali::letDaliGruppe(std::int16_t Index, const TypDaliGruppe& Obj_DaliGruppe) {
    mChangeFlag = true;
    fixedAt(mDaliGruppe, Index) = Obj_DaliGruppe;
}
void clsOrvekDali::letDaliGruppeName(std::int16_t Index, const std::string& Obj_DaliGruppeName) {
    mChangeFlag = true;
    fixedAt(mDaliGruppe, Index).Name = Obj_DaliGruppeName;
}

TypDaliCommand clsOrvekDali::daliCommand() const { return mdaliCommand; }
void clsOrvekDali::letdaliCommand(const TypDaliCommand& Obj_DaliCommand) {
    mChangeFlag = true;
    mdaliCommand = Obj_DaliCommand;
}

TypHeader clsOrvekDali::Header() const { return mHeader; }
void clsOrvekDali::letHeader(const TypHeader& Obj_Header) {
    mChangeFlag = true;
    mHeader = Obj_Header;
    raiseHeaderChanged();
}

TypDeviceInfo clsOrvekDali::DeviceInfo() const { return mDeviceInfo; }
void clsOrvekDali::letDeviceInfo(const TypDeviceInfo& Obj_DeviceInfo) { mDeviceInfo = Obj_DeviceInfo; }

TypSzene clsOrvekDali::Szene(std::int16_t Index) const { return mSzene(Index); }
void clsOrvekDali::letSzene(std::int16_t Index, const TypSzene& Obj_Szene) {
    mChangeFlag = true;
    mSzene(Index) = Obj_Szene;
}

TypTasten clsOrvekDali::Tasten(std::int16_t Index) const { return mTasten(Index); }
void clsOrvekDali::letTasten(std::int16_t Index, const TypTasten& Obj_Taste) {
    mChangeFlag = true;
    mTasten(Index) = Obj_Taste;
}

TypBeleuchtungsGruppe clsOrvekDali::BeleuchtungsGruppe(std::int16_t Index) const { return mBeleuchtungsGruppe(Index); }
void clsOrvekDali::letBeleuchtungsGruppe(std::int16_t Index, const TypBeleuchtungsGruppe& Obj_BeleuchtungsGruppe) {
    mChangeFlag = true;
    mBeleuchtungsGruppe(Index) = Obj_BeleuchtungsGruppe;
}

TypBelueftungsGruppe clsOrvekDali::BelueftungsGruppe(std::int16_t Index) const { return mBelueftungsGruppe(Index); }
void clsOrvekDali::letBelueftungsGruppe(std::int16_t Index, const TypBelueftungsGruppe& Obj_BelueftungsGruppe) {
    mChangeFlag = true;
    mBelueftungsGruppe(Index) = Obj_BelueftungsGruppe;
}

TypJalousieGruppe clsOrvekDali::JalousieGruppe(std::int16_t Index) const { return mJalousieGruppe(Index); }
void clsOrvekDali::letJalousieGruppe(std::int16_t Index, const TypJalousieGruppe& Obj_JalousieGruppe) {
    mChangeFlag = true;
    mJalousieGruppe(Index) = Obj_JalousieGruppe;
}

TypTemperaturGruppe clsOrvekDali::TemperaturGruppe(std::int16_t Index) const { return mTemperaturGruppe(Index); }
void clsOrvekDali::letTemperaturGruppe(std::int16_t Index, const TypTemperaturGruppe& Obj_TemperaturGruppe) {
    mChangeFlag = true;
    mTemperaturGruppe(Index) = Obj_TemperaturGruppe;
}

TypMeldeGruppe clsOrvekDali::MeldeGruppe(std::int16_t Index) const { return mMeldeGruppe(Index); }
void clsOrvekDali::letMeldeGruppe(std::int16_t Index, const TypMeldeGruppe& Obj_MeldeGruppe) {
    mChangeFlag = true;
    mMeldeGruppe(Index) = Obj_MeldeGruppe;
}

TypZeiten clsOrvekDali::Zeiten() const { return mZeiten(0); }
void clsOrvekDali::letZeiten(const TypZeiten& Zeiten) {
    mChangeFlag = true;
    mZeiten(0) = Zeiten;
}

// --- sizing ---

void clsOrvekDali::sizeToModel(const TypMaxGrenzwerte& Grenzwerte, const SafeArray<TypFunktionsGruppen>& FGruppen,
                               const TypPropertyObjID& PropObjID) {
    mGrenzwerte = Grenzwerte;
    mFGruppen = FGruppen;
    mPropObjID = PropObjID;

    const TypMaxGrenzwerte& g = mGrenzwerte;
    mDaliScene.redim(0, g.MaxDaliScenes);
    mBeleuchtungsGruppe.redim(0, g.MaxBeleuchtungsgruppen);
    mBelueftungsGruppe.redim(0, g.MaxBelueftungsgruppen);
    mJalousieGruppe.redim(0, g.MaxJalousiegruppen);
    mTemperaturGruppe.redim(0, g.MaxTemperaturgruppen);
    mSzene.redim(0, g.MaxSzenen);
    mTasten.redim(0, g.MaxTasten);
    mMeldeGruppe.redim(0, g.MaxMeldegruppen);
    mZeiten.redim(0, 0);

    for (TypSzene& s : mSzene) {
        s.BeleuchtungsWerte.redim(0, g.MaxBeleuchtungsgruppen);
        s.BelueftungsWerte.redim(0, g.MaxBelueftungsgruppen);
        s.JalousieWerte.redim(0, g.MaxJalousiegruppen);
        s.TemperaturWerte.redim(0, g.MaxTemperaturgruppen);
    }
}

void clsOrvekDali::IniInterface(const TypMaxGrenzwerte& Grenzwerte, const SafeArray<TypFunktionsGruppen>& FGruppen,
                                const TypPropertyObjID& PropObjID) {
    sizeToModel(Grenzwerte, FGruppen, PropObjID);
    for (std::size_t j = 0; j < 64; ++j) {
        mDaliGruppe[j].Index = static_cast<std::uint8_t>(j);
        mDaliGruppe[j].Gruppe = 255;
    }
    for (std::size_t k = 0; k < 16; ++k) mDaliEinzelgruppe[k].Index = static_cast<std::uint8_t>(k);
}

void clsOrvekDali::IniInterfaceStart(const TypMaxGrenzwerte& Grenzwerte, const SafeArray<TypFunktionsGruppen>& FGruppen,
                                     const TypPropertyObjID& PropObjID) {
    sizeToModel(Grenzwerte, FGruppen, PropObjID);
    for (std::size_t i = 0; i < 64; ++i) {
        mDaliGruppe[i] = TypDaliGruppe{};
        mDaliGruppe[i].Index = static_cast<std::uint8_t>(i);
        mDaliGruppe[i].Gruppe = 255;
    }
    for (std::size_t k = 0; k < 16; ++k) {
        mDaliEinzelgruppe[k] = TypDaliEinzelGruppe{};
        mDaliEinzelgruppe[k].Index = static_cast<std::uint8_t>(k);
    }
}

}  // namespace corlink
