// The records and enumerations in which one gateway project travels between Corlink and its
// callers. Records are value types: a copy shares nothing with its source. Fields stand in
// declaration order, which is also the order in which the project file stores them.
//
// Field types: UI1 std::uint8_t, I2 std::int16_t, I4 std::int32_t, R4 float, BOOL bool,
// BSTR std::string (UTF-8), DATE double (automation date, 0 = unset), T(a To b) std::array
// (all fixed arrays start at 0), SAFEARRAY(T) SafeArray<T>.
#pragma once

#include "SafeArray.h"

#include <array>
#include <cstdint>
#include <string>

namespace corlink {

// State of a finished device job, passed on unchanged by DeviceInfoEvent and DownUpLoad.
enum DeviceState : std::int32_t {
    pdStateEmpty = 0,
    pdStateReady = 1,
    pdStateUploaded = 2,
    pdStateDownloaded = 3,
    pdStateError = 4,
};

// Direction of a gateway operation, and the outcome that DownUpLoad reports.
enum TypLoadProc : std::int32_t {
    pdDownLoad = 0,
    pdupLoad = 1,
    pdDeviceInfo = 2,
    pdError = 3,
};

// Error code of LoadErrorEvent.
enum LoadError : std::int32_t {
    ERR_COMMUNICATION = 1,
    ERR_NOCONNECTION = 2,
    ERR_CONNECTIONFAILD = 3,
    ERR_MASKVERSION = 4,
    ERR_PROPERTYVERIFY = 5,
    ERR_PROPERTYWRITE = 6,
    ERR_PROPERTYREAD = 7,
    ERR_USER = 8,
    ERR_LOAD = 9,
};

// Published but taken by no member.
enum UpDownEnum : std::int32_t {
    Download = 0,
    Upoad = 1,
};

// Project header (one per project).
struct TypHeader {
    std::string ProjektBeschreibung;
    std::string ProjektKennung;
    std::string DateiName;      // path of the project file; set by every save and open
    std::int32_t phyAdr = 0;    // the gateway's physical address as a number
    std::string phyAdrString;   // the same as text area.line.device
    std::string Bestellnummer;  // order number of the gateway model
    std::string Version;        // firmware version of the gateway model
    double LetzterZugriff = 0;  // last access: set by every save
    double LetzterDownload = 0;
    double LetzterUpload = 0;
    std::string Bemerkung1;
    std::int16_t Bemerkung1ID = 0;
    std::string Bemerkung2;
    std::string Bemerkung2ID;  // a text, where Bemerkung1ID is a number
    bool operator==(const TypHeader&) const = default;
};

// Identification and state read from a gateway.
struct TypDeviceInfo {
    std::int32_t phyAdr = 0;
    std::string Bestellnummer;
    std::string FirmwareVersion;
    std::string ErrorCode;  // set by no operation of the library
    std::uint8_t AppLoadState = 0;
    std::uint8_t AppRunState = 0;
    std::uint8_t LoadState = 0;
    std::uint8_t RunState = 0;
    std::uint8_t AdrLaenge = 0;
    bool operator==(const TypDeviceInfo&) const = default;
};

// One DALI ballast; the array index is its short address. The first four fields are the
// element of the gateway's ballast table.
struct TypDaliGruppe {
    std::uint8_t Gruppe = 0;  // DALI group 0..15; 16 not assigned; 255 empty entry
    std::uint8_t pAdrL = 0;   // 24-bit long address, low byte
    std::uint8_t pAdrM = 0;
    std::uint8_t pAdrH = 0;
    std::string Name;
    std::string GrpName;
    std::uint8_t Index = 0;
    std::string Des1;
    std::string Des2;
    bool operator==(const TypDaliGruppe&) const = default;
};

// One DALI group 0..15.
struct TypDaliEinzelGruppe {
    std::string Name;
    std::uint8_t EinschaltZeit = 0;
    std::uint8_t AusschaltZeit = 0;
    std::uint8_t Value1 = 0;
    std::string Desc1;
    std::uint8_t Index = 0;
    bool operator==(const TypDaliEinzelGruppe&) const = default;
};

// One entry of the gateway's DALI scene table: a mask of the 16 groups.
struct TypDaliScene {
    std::uint8_t Byte1 = 0;
    std::uint8_t Byte2 = 0;
    std::uint8_t Index = 0;
    bool operator==(const TypDaliScene&) const = default;
};

// Scene data, kept in the project file only.
struct TypDaliSceneData {
    std::uint8_t Byte1 = 0;
    std::uint8_t Byte2 = 0;
    std::uint8_t Byte3 = 0;
    std::uint8_t Byte4 = 0;
    std::uint8_t Byte5 = 0;
    std::uint8_t Byte6 = 0;
    std::uint8_t Byte7 = 0;
    std::uint8_t Byte8 = 0;
    std::uint8_t Index = 0;
    bool operator==(const TypDaliSceneData&) const = default;
};

// One gateway command, or the gateway's reply to it.
struct TypDaliCommand {
    std::uint8_t Byte1 = 0;
    std::uint8_t Byte2 = 0;
    std::uint8_t Byte3 = 0;
    bool operator==(const TypDaliCommand&) const = default;
};

// One bus communication object of a function group with its group addresses.
struct TypObjectZuordnung {
    bool Active1 = false;
    bool Active2 = false;
    std::uint8_t ObjNo = 0;
    SafeArray<std::int32_t> GrpAdr;  // element 0 is the sending address
    bool GrpAdrActive = false;
    std::string GrpString;
    std::uint8_t Flags = 0;
    bool operator==(const TypObjectZuordnung&) const = default;
};

struct TypBeleuchtungsGruppe {
    std::int32_t ObjID = 0;
    std::uint8_t AktorTyp = 0;
    std::string Name;
    bool Active = false;
    std::uint8_t FeedBack = 0;
    std::array<TypObjectZuordnung, 4> Objekte{};
    bool operator==(const TypBeleuchtungsGruppe&) const = default;
};

struct TypBelueftungsGruppe {
    std::int32_t ObjID = 0;
    std::uint8_t AktorTyp = 0;
    std::string Name;
    bool Active = false;
    std::uint8_t FeedBack = 0;
    std::array<TypObjectZuordnung, 4> Objekte{};
    bool operator==(const TypBelueftungsGruppe&) const = default;
};

struct TypTemperaturGruppe {
    std::int32_t ObjID = 0;
    std::uint8_t AktorTyp = 0;
    std::string Name;
    bool Active = false;
    std::uint8_t FeedBack1 = 0;
    std::uint8_t FeedBack2 = 0;
    std::uint8_t FeedBack3 = 0;
    float Offset = 0;
    std::array<TypObjectZuordnung, 7> Objekte{};
    bool operator==(const TypTemperaturGruppe&) const = default;
};

struct TypJalousieGruppe {
    std::int32_t ObjID = 0;
    std::uint8_t AktorTyp = 0;
    std::string Name;
    bool Active = false;
    std::uint8_t FeedBack = 0;
    std::array<TypObjectZuordnung, 5> Objekte{};
    bool operator==(const TypJalousieGruppe&) const = default;
};

struct TypMeldeGruppe {
    std::int32_t ObjID = 0;
    std::uint8_t AktorTyp = 0;
    std::string Name0;
    std::string Name1;
    bool Active = false;
    std::uint8_t FeedBack = 0;
    std::array<TypObjectZuordnung, 1> Objekte{};
    bool operator==(const TypMeldeGruppe&) const = default;
};

// The value of one group in one scene.
struct TypSzenenWerte {
    bool Aktiv = false;
    std::array<std::uint8_t, 2> Wert1{};
    std::array<std::uint8_t, 2> Wert2{};
    std::int16_t WertID = 0;
    std::int16_t Referenz = 0;
    std::int16_t RefAufSzenenWert = 0;  // row of the value-option list the option comes from
    bool operator==(const TypSzenenWerte&) const = default;
};

// One bus scene; its four value arrays are sized by the group limits when the project is sized.
struct TypSzene {
    bool Active = false;
    std::string Name;
    bool Nebenstelle = false;
    std::uint8_t Verzoegerungszeit = 0;
    SafeArray<TypSzenenWerte> BeleuchtungsWerte;
    SafeArray<TypSzenenWerte> BelueftungsWerte;
    SafeArray<TypSzenenWerte> TemperaturWerte;
    SafeArray<TypSzenenWerte> JalousieWerte;
    TypObjectZuordnung ObjNebenstelle;
    bool operator==(const TypSzene&) const = default;
};

// The values of a push button.
struct TypWerte {
    bool Aktiv = false;
    std::array<std::uint8_t, 2> Wert1{};
    std::array<std::uint8_t, 2> Wert2{};
    bool operator==(const TypWerte&) const = default;
};

// One push button.
struct TypTasten {
    std::string Name;
    std::uint8_t FunktionID = 0;
    std::int16_t GruppenID = 0;
    TypWerte Wert;
    std::int16_t WertID = 0;
    std::uint8_t FunktionLED = 0;
    std::uint8_t FSNummer = 0;
    bool operator==(const TypTasten&) const = default;
};

// General settings of the gateway (one per project).
struct TypZeiten {
    std::uint8_t ReadTimeLight = 0;
    std::uint8_t ReadTimeAir = 0;
    std::uint8_t ReadTimeTemp = 0;
    std::uint8_t ReadTimeJal = 0;
    std::uint8_t LangeTastZeit = 0;
    std::uint8_t SLangeTastZeit = 0;
    std::uint8_t LCDOnZeit = 0;
    std::uint8_t ZeitDatumKonfig = 0;
    std::uint8_t ZeitDatumFormat = 0;
    std::array<TypObjectZuordnung, 3> ObjekteDatumZeitLCD{};
    std::string MenuSprache;
    std::uint8_t MenuSpracheID = 0;
    std::uint8_t SprachCode = 0;
    bool operator==(const TypZeiten&) const = default;
};

// Entries of the lists built for the windows.
struct TypDynamicTasten {
    std::string Text;
    std::int16_t ID = 0;
    std::uint8_t AktorID = 0;
    bool operator==(const TypDynamicTasten&) const = default;
};

struct TypDynamicSzenen {
    bool Active = false;
    bool GrpActive = false;
    std::string Text;
    std::array<std::uint8_t, 2> Wert1{};
    std::array<std::uint8_t, 2> Wert2{};
    std::int16_t ID = 0;
    std::int16_t SortKey = 0;
    std::uint8_t AktorID = 0;
    std::uint8_t WertID = 0;
    std::int16_t RefAufSzenenWert = 0;
    bool operator==(const TypDynamicSzenen&) const = default;
};

// The sixteen limits of a gateway model; they size the project.
struct TypMaxGrenzwerte {
    std::uint8_t MaxDaliScenes = 0;
    std::uint8_t MaxDaliScenesData = 0;
    std::uint8_t MaxDaligruppen = 0;
    std::uint8_t MaxDaliEinzelGruppen = 0;
    std::uint8_t MaxBeleuchtungsgruppen = 0;
    std::uint8_t MaxBelueftungsgruppen = 0;
    std::uint8_t MaxTemperaturgruppen = 0;
    std::uint8_t MaxJalousiegruppen = 0;
    std::uint8_t MaxSzenen = 0;
    std::uint8_t MaxTasten = 0;
    std::uint8_t MaxMeldegruppen = 0;
    std::uint8_t MaxFunktionsGruppen = 0;
    std::uint8_t MaxFunktionen = 0;
    std::uint8_t MaxCharGruppenBezeichnung = 0;
    std::uint8_t MaxAssoziation = 0;
    std::uint8_t MaxObjekte = 0;
    bool operator==(const TypMaxGrenzwerte&) const = default;
};

// One function-group kind of a gateway model.
struct TypFunktionsGruppen {
    std::string Name;
    std::uint8_t ID = 0;
    bool operator==(const TypFunktionsGruppen&) const = default;
};

// The gateway model's interface-object ids per group kind, and each kind's object-type code.
struct TypPropertyObjID {
    SafeArray<std::int32_t> ObjIDBeleuchtung;
    std::int32_t ObjKennungBeleuchtung = 0;
    SafeArray<std::int32_t> ObjIDBelueftung;
    std::int32_t ObjKennungBelueftung = 0;
    SafeArray<std::int32_t> ObjIDJalousie;
    std::int32_t ObjKennungJalousie = 0;
    SafeArray<std::int32_t> ObjIDTemperatur;
    std::int32_t ObjKennungTemperatur = 0;
    SafeArray<std::int32_t> ObjIDMeldung;
    std::int32_t ObjKennungMedung = 0;
    SafeArray<std::int32_t> ObjIDSzene;
    std::int32_t ObjKennungSzene = 0;
    SafeArray<std::int32_t> ObjIDTasten;
    std::int32_t ObjKennungTasten = 0;
    SafeArray<std::int32_t> ObjIDApplicationData;
    std::int32_t ObjKennungApplicationData = 0;
    std::int32_t ObjIDSprache = 0;
    std::int32_t ObjKennungSprache = 0;
    bool operator==(const TypPropertyObjID&) const = default;
};

// Filled only inside isUsedinST.
struct TypFGruppeUsed {
    bool FlagUsed = false;
    bool FlagUsedSzene = false;
    bool FlagUsedTasten = false;
    SafeArray<std::string> Bezeichnung;
    bool operator==(const TypFGruppeUsed&) const = default;
};

// Published; taken or filled by no operation.
struct ObjType {
    std::int32_t ObjNr = 0;
    std::int32_t AdrNr = 0;
    std::int32_t VerNr = 0;
    bool operator==(const ObjType&) const = default;
};

}  // namespace corlink
