// Enumerations of the bus transport: property data types and ids, object indexes, item kinds,
// states, results and event ids. Names and values are part of the library's interface.
#pragma once

#include <cstdint>

namespace corbus {

// KNX property data types; 15 and 16 have no member and count as unknown types.
enum brimEibPropertyDataType : std::int32_t {
    PT_UNDEFINED = -1,
    PT_CONTROL = 0,
    PT_CHAR = 1,
    PT_UNSIGNED_CHAR = 2,
    PT_INT = 3,
    PT_UNSIGNED_INT = 4,
    PT_EIB_FLOAT = 5,
    PT_DATE = 6,
    PT_TIME = 7,
    PT_LONG = 8,
    PT_UNSIGNED_LONG = 9,
    PT_FLOAT = 10,
    PT_DOUBLE = 11,
    PT_CHAR_BLOCK = 12,
    PT_POLL_GROUP_SETTINGS = 13,
    PT_SHORT_CHAR_BLOCK = 14,
    PT_GENERIC_01 = 17,
    PT_GENERIC_02 = 18,
    PT_GENERIC_03 = 19,
    PT_GENERIC_04 = 20,
    PT_GENERIC_05 = 21,
    PT_GENERIC_06 = 22,
    PT_GENERIC_07 = 23,
    PT_GENERIC_08 = 24,
    PT_GENERIC_09 = 25,
    PT_GENERIC_10 = 26,
};

// Common KNX property identifiers; items may carry any other property number.
enum brimEibPropertyId : std::int32_t {
    PID_OBJECT_TYPE = 1,
    PID_OBJECT_NAME = 2,
    PID_SEMAPHOR = 3,
    PID_GROUP_OBJECT_REFERENCE = 4,
    PID_LOAD_STATE_CONTROL = 5,
    PID_RUN_STATE_CONTROL = 6,
    PID_TABLE_REFERENCE = 7,
    PID_SERVICE_CONTROL = 8,
    PID_FIRMWARE_REVISION = 9,
    PID_SERVICES_SUPPORTED = 10,
    PID_SERIAL_NUMBER = 11,
    PID_MANUFACTURER_ID = 12,
    PID_PROGRAM_VERSION = 13,
    PID_DEVICE_CONTROL = 14,
    PID_ORDER_INFO = 15,
    PID_PEI_TYPE = 16,
    PID_PORT_CONFIGURATION = 17,
    PID_POLL_GROUP_SETTINGS = 18,
    PID_OBJECT_TYPE_SPECIFIC_BASE = 51,
    PID_APPLICATION_SPECIFIC_BASE = 201,
};

// Interface-object indexes of the gateway device.
enum brimObjType : std::int32_t {
    OBJ_ID_DEV = 0,
    OBJ_ID_ADDR = 1,
    OBJ_ID_ASSO = 2,
    OBJ_ID_PGM = 3,
    objAddressConnect = 4,
    objDeviceObject = 5,
    objControlObject = 6,
    objDataObject = 7,
    objBeleuchtung_0 = 8,
    objBeleuchtung_1,
    objBeleuchtung_2,
    objBeleuchtung_3,
    objBeleuchtung_4,
    objBeleuchtung_5,
    objBeleuchtung_6,
    objBeleuchtung_7,
    objBeleuchtung_8,
    objBeleuchtung_9,
    objBelueftung_0 = 18,
    objBelueftung_1,
    objBelueftung_2,
    objTemperatur_0 = 21,
    objTemperatur_1,
    objJalousie_0 = 23,
    objJalousie_1,
    objJalousie_2,
    objJalousie_3,
    objJalousie_4,
    objJalousie_5,
    objSzene_0 = 29,
    objSzene_1,
    objSzene_2,
    objSzene_3,
    objSzene_4,
    objSzene_5,
    objSzene_6,
    objSzene_7,
    objFunktionstasten = 37,
    objMeldung_0 = 38,
    objMeldung_1,
    objMeldung_2,
    objMeldung_3,
    objMeldung_4,
    objMeldung_5,
    objMeldung_6,
    objMeldung_7,
    objMeldung_8,
    objMeldung_9,
    objSprache = 48,
};

// Kind of a property item; selects how the jobs transfer it.
enum brimItemType : std::int32_t {
    brimItemStandard = 0,     // one value, or an array without element count
    brimItemArray = 1,        // element count at property index 0
    brimItemAddress = 2,      // address table
    brimItemAssoziation = 3,  // association table
    brimItemLoadCtl = 4,      // load-state control
};

enum brimDeviceState : std::int32_t {
    pdStateEmpty = 0,
    pdStateReady = 1,
    pdStateUploaded = 2,
    pdStateDownloaded = 3,
    pdStateError = 4,
};

enum brimEibState : std::int32_t {
    brimEibStateNoInit = 1,
    brimEibStatePassive = 2,
    brimEibStateDownload = 3,
    brimEibStateUpload = 4,
    brimEibStateError = 5,
};

enum enumRetVal : std::int32_t {
    brimEibNotInitialized = 1,
    brimEibIsPassive = 2,
    brimEibInDownloadMode = 3,
    brimEibInUploadMode = 4,
    brimEibUploadListIsEmpty = 5,
    brimEibDownloadListIsEmpty = 6,
    brimEibError = 7,
    brimEibUploadDone = 8,
    brimEibDownloadDone = 9,
    brimEibDownloadUnknownType = 10,
    brimEibDownloadCanceledByUser = 11,
    brimEibUploadCanceledByUser = 12,
};

enum enumEventID : std::int32_t {
    brimEibEL_generic = 1,
    brimEibEL_Upload = 2,
    brimEibEL_UploadStart = 3,
    brimEibEL_UploadDone = 4,
    brimEibEL_Verify = 5,
    brimEibEL_Download = 6,
    brimEibEL_DownloadStart = 7,
    brimEibEL_DownloadDone = 8,
    brimEibEL_Mask = 9,
    brimEibEL_Connect = 10,
    brimEibEL_Disconnect = 11,
    brimEibEL_UploadListEmpty = 12,
    brimEibEL_DownloadListEmpty = 13,
    brimEibEL_AddressStart = 14,
    brimEibEL_AddressDone = 15,
    brimEibEL_AssozStart = 16,
    brimEibEL_AssozDone = 17,
    brimEibEL_LoadCtl = 18,
    brimEibEE_Generic = 19,
    brimEibEE_NoConnect = 20,
    brimEibEE_ConnectBroke = 21,
    brimEibEE_MaskError = 22,
    brimEibEE_VerifyError = 23,
    brimEibEE_UploadError = 24,
    brimEibEE_DownloadError = 25,
    brimEibEE_CanceledByUser = 26,
    brimEibEE_LoadError = 27,
};

enum brimDevType : std::int32_t {
    brimDevDefault = 0,
};

// Job phases reported with a trapped error (event 19); 10 is what brimEib::Cancel returns.
enum brimEibEventTip : std::int32_t {
    brimEibDoUpload_GetDevice = 1,
    brimEibDoUpload_Connect = 2,
    brimEibDoUpload_Property = 3,
    brimEibDoUpload_CloseConnect = 4,
    brimEibDoDownload_GetDevice = 5,
    brimEibDoDownload_Connect = 6,
    brimEibDoDownload_Property = 7,
    brimEibDoDownload_CloseConnect = 8,
    brimEibDoDownload_UnknownType = 9,
    brimEibCancel_Requested = 10,
};

// Published for callers; no operation uses them.
enum brimPortNumber : std::int32_t {
    brimPortNumberNoComSelected = 0,
    brimPortNumberCom1 = 1,
    brimPortNumberCom2 = 2,
    brimPortNumberCom3 = 3,
    brimPortNumberCom4 = 4,
    brimPortNumberLoopBack = 90,
};

enum brimEdiType : std::int32_t {
    brimEdiTypeUndefined = 0,
    brimEdiTypeBcu1xPei16x9600 = 1,
    brimEdiTypeBcu2xPei10x19200 = 2,
    brimEdiTypeUSBEmi1 = 3,
    brimEdiTypeUSBEmi2 = 4,
    brimEdiTypeUSBCommonEmi = 5,
};

// Base of the error numbers the transport raises itself (0x80040000 + 3000).
enum tagVbBrimEibError : std::int32_t {
    vbBrimEibError = static_cast<std::int32_t>(0x80040BB8u),
};

}  // namespace corbus
