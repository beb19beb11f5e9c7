// The bus job engine: bus-interface choice, transfer settings, five lists of device jobs and
// the upload and download jobs, which report progress and faults to one event sink.
#pragma once

#include "corbus/devices.h"
#include "corbus/enums.h"
#include "variant.h"

#include <cstdint>
#include <memory>
#include <string>

namespace busdriver {
class ClassCreator;
}

namespace corbus {

// Receives the engine's events. They are raised only from inside DoUpload and DoDownload, on
// the caller's thread; the job goes on when the handler returns. A handler may call Cancel,
// read the lists and settings, or call DoUpload / DoDownload, which are refused while a job
// runs. Handlers must not throw.
class brimEibEvents {
public:
    virtual ~brimEibEvents() = default;
    virtual void EventLoad(enumEventID vEventID, std::int32_t param1, std::int32_t param2, double dateTime) = 0;
    virtual void EventError(enumEventID vEventID, std::int32_t param1, std::int32_t param2, double dateTime) = 0;
};

class brimEib : public automation::Object {
public:
    brimEib();
    ~brimEib() override;
    brimEib(const brimEib&) = delete;
    brimEib& operator=(const brimEib&) = delete;

    // The one event holder (nullptr: no sink). The engine does not own the sink.
    void setEventSink(brimEibEvents* sink) { sink_ = sink; }

    // The class creator made last by a job (each connection makes a new one).
    const std::shared_ptr<busdriver::ClassCreator>& ClassCreatorObject() const { return classCreator_; }
    void setClassCreatorObject(std::shared_ptr<busdriver::ClassCreator> value);

    bool VerifyObjectID() const { return verifyObjectId_; }
    void setVerifyObjectID(bool value) { verifyObjectId_ = value; }
    bool MaskCheck() const { return maskCheck_; }
    void setMaskCheck(bool value) { maskCheck_ = value; }
    bool ConnectionAsDefault() const { return connectionAsDefault_; }
    void setConnectionAsDefault(bool value) { connectionAsDefault_ = value; }
    std::int32_t MaskVersion() const { return maskVersion_; }
    void setMaskVersion(std::int32_t value) { maskVersion_ = value; }
    bool ItemVerify() const { return itemVerify_; }
    void setItemVerify(bool value) { itemVerify_ = value; }
    bool AutoUpload() const { return autoUpload_; }
    void setAutoUpload(bool value) { autoUpload_ = value; }
    bool AutoDownload() const { return autoDownload_; }
    void setAutoDownload(bool value) { autoDownload_ = value; }
    // 0..10; any other value raises vbBrimEibError + 8 and keeps the old value.
    std::int32_t Retries() const { return retries_; }
    void setRetries(std::int32_t value);

    // Asks a running job to stop at its next check; returns brimEibCancel_Requested (10).
    enumRetVal Cancel();
    // Reads the first job of Upload, or writes the first job of Download (with AutoUpload /
    // AutoDownload every queued job); returns the result of the last job.
    enumRetVal DoUpload();
    enumRetVal DoDownload();
    // Stores the bus interface identifier and parameters and makes the engine passive.
    bool InitPort(std::string comEDIStr = {}, std::string comParaStr = {});

    // The engine's own lists (the same objects for the engine's lifetime).
    const std::shared_ptr<brimDevices>& LoadError() const { return loadError_; }
    const std::shared_ptr<brimDevices>& Download() const { return download_; }
    const std::shared_ptr<brimDevices>& DownloadDone() const { return downloadDone_; }
    const std::shared_ptr<brimDevices>& Upload() const { return upload_; }
    const std::shared_ptr<brimDevices>& UploadDone() const { return uploadDone_; }

    // Queues an identification read of the device into Upload and returns the job; another
    // device type than brimDevDefault queues nothing and returns nothing.
    std::shared_ptr<brimDevice> UploadDevice(const automation::Variant& vPhysicalAddress, std::int32_t vDevType);
    // The zero value (bound < 0) or zero array 0..bound of a data type.
    automation::Variant genEibData(std::int32_t pepType, std::int32_t bound = -1) const;

    // The engine state (brimEibState), for diagnostics.
    std::int32_t EngineState() const { return state_; }

private:
    friend class JobRun;
    enum class Running { None, Upload, Download };

    void raiseLoad(enumEventID id, std::int32_t param1, std::int32_t param2);
    void raiseError(enumEventID id, std::int32_t param1, std::int32_t param2, double dateTime);
    enumRetVal runJobs(Running kind);

    brimEibEvents* sink_ = nullptr;
    std::shared_ptr<busdriver::ClassCreator> classCreator_;
    bool verifyObjectId_ = true;
    bool maskCheck_ = false;
    bool connectionAsDefault_ = false;
    std::int32_t maskVersion_ = 32;
    bool itemVerify_ = false;
    bool autoUpload_ = false;
    bool autoDownload_ = false;
    std::int32_t retries_ = 3;

    std::shared_ptr<brimDevices> upload_;
    std::shared_ptr<brimDevices> download_;
    std::shared_ptr<brimDevices> loadError_;
    std::shared_ptr<brimDevices> uploadDone_;
    std::shared_ptr<brimDevices> downloadDone_;
    std::string interfaceId_;
    std::string interfaceParameters_;
    std::int32_t state_ = brimEibStateNoInit;
    bool cancelRequested_ = false;
    Running running_ = Running::None;
};

}  // namespace corbus
