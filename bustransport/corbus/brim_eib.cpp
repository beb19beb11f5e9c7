#include "corbus/brim_eib.h"

#include "corbus/coding.h"
#include "corbus/errors.h"
#include "falcon.h"
#include "oledate.h"

namespace corbus {

brimEib::brimEib()
    : upload_(std::make_shared<brimDevices>()),
      download_(std::make_shared<brimDevices>()),
      loadError_(std::make_shared<brimDevices>()),
      uploadDone_(std::make_shared<brimDevices>()),
      downloadDone_(std::make_shared<brimDevices>()) {}

brimEib::~brimEib() = default;

void brimEib::setClassCreatorObject(std::shared_ptr<busdriver::ClassCreator> value) {
    classCreator_ = std::move(value);
}

void brimEib::setRetries(std::int32_t value) {
    if (value < 0 || value > 10) raiseCorbusError(CorbusError::RetriesRange);
    retries_ = value;
}

enumRetVal brimEib::Cancel() {
    cancelRequested_ = true;
    return static_cast<enumRetVal>(brimEibCancel_Requested);
}

enumRetVal brimEib::DoUpload() { return runJobs(Running::Upload); }

enumRetVal brimEib::DoDownload() { return runJobs(Running::Download); }

bool brimEib::InitPort(std::string comEDIStr, std::string comParaStr) {
    interfaceId_ = std::move(comEDIStr);
    interfaceParameters_ = std::move(comParaStr);
    state_ = brimEibStatePassive;
    return true;
}

std::shared_ptr<brimDevice> brimEib::UploadDevice(const automation::Variant& vPhysicalAddress, std::int32_t vDevType) {
    if (vDevType != brimDevDefault) return nullptr;
    auto device = std::make_shared<brimDevice>();
    device->setTargetAddress(vPhysicalAddress);
    // Identification: device object type, manufacturer, order info and application version,
    // then the data object type and its five state bytes.
    if (verifyObjectId_) device->Add(objDeviceObject, PID_OBJECT_TYPE, PT_UNSIGNED_INT, std::int32_t{50021}, true);
    device->Add(objDeviceObject, PID_MANUFACTURER_ID, PT_UNSIGNED_INT);
    device->Add(objDeviceObject, PID_ORDER_INFO, PT_CHAR_BLOCK);
    device->Add(objDeviceObject, PID_APPLICATION_SPECIFIC_BASE, PT_SHORT_CHAR_BLOCK);
    if (verifyObjectId_) device->Add(objDataObject, PID_OBJECT_TYPE, PT_UNSIGNED_INT, std::int32_t{50023}, true);
    for (std::int32_t property = 201; property <= 205; ++property) {
        device->Add(objDataObject, property, PT_UNSIGNED_CHAR);
    }
    return upload_->Add(device);
}

automation::Variant brimEib::genEibData(std::int32_t pepType, std::int32_t bound) const {
    return coding::genEibData(pepType, bound);
}

void brimEib::raiseLoad(enumEventID id, std::int32_t param1, std::int32_t param2) {
    if (sink_) sink_->EventLoad(id, param1, param2, automation::now());
}

void brimEib::raiseError(enumEventID id, std::int32_t param1, std::int32_t param2, double dateTime) {
    if (sink_) sink_->EventError(id, param1, param2, dateTime);
}

}  // namespace corbus
