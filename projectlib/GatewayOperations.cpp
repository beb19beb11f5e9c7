// The gateway operations: one device job each, run on the project's job engine, its outcome
// taken back into the project and reported by the result and by events.
//
// Every operation refuses to start while another one of the project runs (the engine holds one
// job at a time; a second call can come from an event handler or the message pump), traps every
// error (InterfaceError with the number's low 16 bits, result -1), and always takes its own job
// out of the engine's lists again, so that no later call finds it there.
#include "GatewayDetail.h"
#include "automation_error.h"
#include "corbus/brim_eib.h"
#include "corlink/clsOrvekDali.h"

namespace corlink {

namespace {

using corbus::brimDevice;
using corbus::brimDevices;

// What the transfer step leaves for the end of the frame.
struct Outcome {
    std::int16_t result;
    bool writeLog;  // "BTSLog" is written after the transfer
};

// The low 16 bits of an error number, as InterfaceError carries it.
std::int16_t lowWord(std::int32_t number) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(static_cast<std::uint32_t>(number) & 0xFFFFu));
}

}  // namespace

class clsOrvekDali::GatewayJob {
public:
    explicit GatewayJob(clsOrvekDali& project) : p_(project), engine_(*project.mRiduDIV) {}
    GatewayJob(const GatewayJob&) = delete;
    GatewayJob& operator=(const GatewayJob&) = delete;

    ~GatewayJob() {
        if (!running_) return;
        leaveEngine();
        p_.mGatewayBusy = false;
    }

    // The frame of every operation: prepares the engine, builds the job, logs it before and
    // after the transfer. build(job) fills the job; transfer() runs it and takes the outcome back.
    template <class Build, class Transfer>
    std::int16_t run(const std::string& comEdistr, const std::string& comparastr, bool LogFileFlag, Build build,
                     Transfer transfer) {
        if (p_.mGatewayBusy) return -1;
        p_.mGatewayBusy = true;
        running_ = true;
        try {
            engine_.InitPort(comEdistr, comparastr);
            engine_.setRetries(2);
            engine_.setConnectionAsDefault(false);
            job_ = std::make_shared<brimDevice>();
            build(*job_);
            if (LogFileFlag) detail::WriteLoadLog("BTSToDO", *job_);
            const Outcome outcome = transfer();
            if (LogFileFlag && outcome.writeLog) detail::WriteLoadLog("BTSLog", *job_);
            return outcome.result;
        } catch (const automation::AutomationError& error) {
            p_.raiseInterfaceError(lowWord(error.number()));
            return -1;
        }
    }

    // Reads the job. takeBack(job) takes the reply into the project; it either succeeds or
    // raises with the project unchanged.
    template <class TakeBack>
    Outcome upload(TakeBack takeBack) {
        engine_.Upload()->Add(job_);
        if (engine_.DoUpload() == corbus::brimEibUploadDone) {
            if (takeOut(*engine_.UploadDone())) {
                takeBack(*job_);
                p_.mHeader.LetzterUpload = job_->LastUpdated();
                raiseDownUpLoad(pdupLoad);
            }
            return {1, true};
        }
        failed(&p_.mHeader.LetzterUpload);
        return {-1, true};
    }

    // Writes the job. A table download also takes the written tables back (ReadLoadItems).
    Outcome download(bool tables) {
        engine_.Download()->Add(job_);
        if (engine_.DoDownload() == corbus::brimEibDownloadDone) {
            if (takeOut(*engine_.DownloadDone())) {
                if (tables) p_.ReadLoadItems(*job_);
                p_.mHeader.LetzterDownload = job_->LastLoaded();
                raiseDownUpLoad(pdDownLoad);
            }
            return {1, true};
        }
        failed(&p_.mHeader.LetzterDownload);
        return {-1, true};
    }

    // Upload or download by the flag; any other flag transfers nothing.
    template <class TakeBack>
    Outcome transfer(TypLoadProc UpDownFlag, bool tables, TakeBack takeBack) {
        if (UpDownFlag == pdupLoad) return upload(takeBack);
        if (UpDownFlag == pdDownLoad) return download(tables);
        return {1, true};
    }

    // Reads the device information; a failed read leaves DeviceInfo, the out arguments and the
    // logs alone.
    Outcome deviceInfo(std::string* Bestellnr, std::string* Firmware) {
        engine_.Upload()->Add(job_);
        if (engine_.DoUpload() != corbus::brimEibUploadDone) {
            failed(nullptr);
            return {-1, false};
        }
        const bool done = takeOut(*engine_.UploadDone());
        const TypDeviceInfo info = p_.DeviceInfoReadBack(*job_);
        if (done) raiseDownUpLoad(pdDeviceInfo);
        p_.mDeviceInfo = info;
        if (Bestellnr) *Bestellnr = info.Bestellnummer;
        if (Firmware) *Firmware = info.FirmwareVersion;
        p_.raiseDeviceInfoEvent(state(), job_->LastLoaded(), job_->TargetAddress());
        return {1, true};
    }

private:
    DeviceState state() const { return static_cast<DeviceState>(job_->State()); }

    void raiseDownUpLoad(TypLoadProc TypLoad) {
        p_.raiseDownUpLoad(state(), job_->LastLoaded(), job_->TargetAddress(), TypLoad);
    }

    // A transfer that did not end done: a job that the engine filed into LoadError zeroes the
    // date and is reported with pdError; one that the engine dropped is not reported.
    void failed(double* date) {
        if (!takeOut(*engine_.LoadError())) return;
        if (date) *date = 0.0;
        raiseDownUpLoad(pdError);
    }

    // Removes this operation's job from the list; false when it is not there.
    bool takeOut(brimDevices& list) {
        for (std::int32_t i = 1; i <= list.Count(); ++i) {
            if (list.Item(i) == job_) {
                list.Remove(i);
                return true;
            }
        }
        return false;
    }

    // Whatever happened, the job is in none of the engine's lists afterwards.
    void leaveEngine() noexcept {
        if (!job_) return;
        try {
            for (brimDevices* list : {engine_.Upload().get(), engine_.Download().get(), engine_.UploadDone().get(),
                                      engine_.DownloadDone().get(), engine_.LoadError().get()}) {
                takeOut(*list);
            }
        } catch (...) {
            // Removing a present entry cannot fail; nothing to report from a destructor.
        }
    }

    clsOrvekDali& p_;
    corbus::brimEib& engine_;
    std::shared_ptr<brimDevice> job_;
    bool running_ = false;
};

std::int16_t clsOrvekDali::StartDownUpLoad(TypLoadProc UpDownFlag, const std::string& comEdistr,
                                           const std::string& comparastr, bool LogFileFlag) {
    GatewayJob job(*this);
    return job.run(
        comEdistr, comparastr, LogFileFlag, [this](brimDevice& dev) { BuildLoadItems(dev); },
        [&] { return job.transfer(UpDownFlag, true, [this](const brimDevice& dev) { ReadLoadItems(dev); }); });
}

std::int16_t clsOrvekDali::StartDeviceInfo(const std::string& comEdistr, const std::string& comparastr,
                                           std::string* Bestellnr, std::string* Firmware, bool LogFileFlag) {
    GatewayJob job(*this);
    return job.run(
        comEdistr, comparastr, LogFileFlag, [this](brimDevice& dev) { BuildDeviceInfoItems(dev); },
        [&] { return job.deviceInfo(Bestellnr, Firmware); });
}

std::int16_t clsOrvekDali::StartNeuinstallation(TypLoadProc UpDownFlag, const std::string& comEdistr,
                                                const std::string& comparastr, const TypDaliCommand& dCommand,
                                                bool LogFileFlag) {
    GatewayJob job(*this);
    return job.run(
        comEdistr, comparastr, LogFileFlag, [&](brimDevice& dev) { BuildCommandItem(dev, dCommand); },
        [&] { return job.transfer(UpDownFlag, false, [this](const brimDevice& dev) { ReadCommandReply(dev); }); });
}

std::int16_t clsOrvekDali::StartSceneDownload(TypLoadProc UpDownFlag, const std::string& comEdistr,
                                              const std::string& comparastr, const TypDaliCommand& /*dCommand*/,
                                              bool LogFileFlag) {
    GatewayJob job(*this);
    return job.run(
        comEdistr, comparastr, LogFileFlag, [this](brimDevice& dev) { BuildSceneItem(dev); },
        [&] { return job.transfer(UpDownFlag, false, [this](const brimDevice& dev) { ReadSceneReply(dev); }); });
}

}  // namespace corlink
