// The upload and download jobs. Both run the same device cycle: take the first job of the
// waiting list, connect (optionally checking the mask version first), transfer every item,
// close the connection and file the job; they differ in how an item is transferred.
#include "automation_error.h"
#include "corbus/brim_eib.h"
#include "corbus/coding.h"
#include "corbus/errors.h"
#include "falcon.h"
#include "oledate.h"

#include <algorithm>
#include <vector>

namespace corbus {

namespace {

using automation::Variant;

constexpr const char* kConnectionProgramId = "Falcon.ConnectionObject.1";
constexpr std::int32_t kMaxElementCount = 65535;  // a property's element count, PT_UNSIGNED_INT

// A driver object that did not come into being is an unset object reference.
template <class T>
std::shared_ptr<T> required(std::shared_ptr<T> object) {
    if (!object) automation::raiseRuntime(automation::errObjectNotSet, kEngineSource);
    return object;
}

// A one-element array of the data type holding the element.
Variant oneElementArray(std::int32_t dataType, const Variant& element) {
    Variant array = coding::genEibData(dataType, 0);
    if (!array.isArray()) array = Variant::variants({Variant()});
    array.set(array.lowerBound(), element);
    return array;
}

// What one read of `count` elements delivered, as an array of elements. A read of one element
// of a block type is that one block, not an array of its bytes.
Variant asElements(std::int32_t dataType, const Variant& part, std::int32_t count) {
    if ((count == 1 && coding::IsBlockType(dataType)) || !part.isArray()) return oneElementArray(dataType, part);
    return part;
}

// The array resized to 0..count-1, keeping its elements.
Variant resized(const Variant& array, std::int32_t count) {
    Variant out = Variant::array(array.elementType(), static_cast<std::size_t>(count));
    const auto& elements = array.elements();
    const auto keep = std::min(elements.size(), static_cast<std::size_t>(count));
    for (std::size_t i = 0; i < keep; ++i) out.set(static_cast<std::int32_t>(i), elements[i]);
    return out;
}

bool isScalarEqual(const Variant& value, std::int32_t number) {
    return automation::scalarEquals(value, Variant(number));
}

}  // namespace

// One call of DoUpload or DoDownload.
class JobRun {
public:
    JobRun(brimEib& engine, bool upload)
        : e_(engine),
          upload_(upload),
          queue_(upload ? engine.upload_ : engine.download_),
          regionBase_(upload ? brimEibDoUpload_GetDevice : brimEibDoDownload_GetDevice) {}

    enumRetVal run() {
        e_.cancelRequested_ = false;
        for (;;) {
            if (e_.cancelRequested_) {
                e_.raiseError(brimEibEE_CanceledByUser, 0, 0, automation::now());
                e_.state_ = brimEibStatePassive;
                return upload_ ? brimEibUploadCanceledByUser : brimEibDownloadCanceledByUser;
            }
            if (e_.state_ == brimEibStateNoInit) return brimEibNotInitialized;
            if (queue_->Count() == 0) {
                if (upload_) {
                    e_.raiseLoad(brimEibEL_UploadListEmpty, 0, 0);
                    e_.state_ = brimEibStatePassive;
                    return brimEibUploadListIsEmpty;
                }
                e_.state_ = brimEibStatePassive;
                e_.raiseLoad(brimEibEL_DownloadListEmpty, 0, 0);
                return brimEibDownloadListIsEmpty;
            }
            e_.state_ = upload_ ? brimEibStateUpload : brimEibStateDownload;
            if (!cycle()) return result_;
        }
    }

private:
    // Error regions, added to the job's first region value.
    enum Region { GetDevice = 0, Connect = 1, Property = 2, Close = 3 };

    // One device job; true when another cycle follows.
    bool cycle() {
        setRegion(GetDevice);
        try {
            device_ = queue_->Item(std::int32_t{1});
            queue_->Remove(std::int32_t{1});
            setRegion(Connect);
            if (!connect()) return false;
            setRegion(Property);
            transfer();
            device_.reset();
            setRegion(Close);
            closeConnection();
            if (anotherCycle()) return true;
            e_.state_ = brimEibStatePassive;
            return false;
        } catch (const automation::AutomationError& error) {
            e_.raiseError(brimEibEE_Generic, error.number(), region_, automation::now());
            release();
            if (device_) file(*e_.loadError_, true, automation::now());
            // After a trapped error the download goes on with the next job, the upload stops.
            if (!upload_ && anotherCycle()) return true;
            e_.state_ = upload_ ? brimEibStateError : brimEibStatePassive;
            result_ = brimEibError;
            return false;
        }
    }

    void setRegion(Region region) { region_ = regionBase_ + region; }

    bool anotherCycle() const {
        return queue_->Count() > 0 && (upload_ ? e_.autoUpload_ : e_.autoDownload_) && !cancelled_;
    }

    // Opens the connection(s); false when the call ends here (the job is filed nowhere).
    bool connect() {
        if (e_.maskCheck_) {
            const std::int32_t code = openConnection(busdriver::modeMaskCheckOrKept);
            if (code != 0) return connectFailed(code, upload_ ? brimEibStateError : brimEibStatePassive);
            e_.raiseLoad(brimEibEL_Connect, address(), 0);
            const std::int32_t mask = conn_->RemoteMaskVersion();
            if (mask != e_.maskVersion_) {
                e_.raiseError(brimEibEE_MaskError, address(), mask, automation::now());
                closeConnection();
                return endWithoutFiling(brimEibStateError);
            }
            e_.raiseLoad(brimEibEL_Mask, address(), mask);
            // The mask-check connection also serves the transfer when it is the default one.
            if (!e_.connectionAsDefault_) closeConnection();
        }
        if (!conn_) {
            const bool kept = e_.connectionAsDefault_;
            const std::int32_t code =
                openConnection(kept ? busdriver::modeMaskCheckOrKept : busdriver::modeTransferOnly);
            if (code != 0) return connectFailed(code, brimEibStateError);
            if (kept) e_.raiseLoad(brimEibEL_Connect, address(), 0);
        }
        return true;
    }

    // Makes a class creator (kept by the engine), the connection and the auxiliary object, and
    // opens the connection; returns the driver's code (0: open).
    std::int32_t openConnection(std::int32_t mode) {
        const std::shared_ptr<busdriver::Driver> driver = required(busdriver::installedDriver());
        e_.classCreator_ = required(driver->createClassCreator());
        conn_ = required(e_.classCreator_->CreateInstance(kConnectionProgramId));
        aux_ = required(driver->createAuxiliaryObject());
        conn_->setMode(mode);
        conn_->setRemoteAddress(device_->TargetAddress());
        std::int32_t code = 0;
        conn_->Open(e_.interfaceId_, Variant(e_.interfaceParameters_), code);
        return code;
    }

    bool connectFailed(std::int32_t code, brimEibState state) {
        e_.raiseError(brimEibEE_NoConnect, address(), code, automation::now());
        release();
        return endWithoutFiling(state);
    }

    bool endWithoutFiling(brimEibState state) {
        device_.reset();
        e_.state_ = state;
        result_ = brimEibError;
        return false;
    }

    std::int32_t address() const { return conn_->remoteAddress(); }

    void closeConnection() {
        conn_->setMode(busdriver::modeClose);
        e_.raiseLoad(brimEibEL_Disconnect, address(), 0);
        release();
    }

    void release() {
        access_.reset();
        aux_.reset();
        conn_.reset();
    }

    // Moves the held job into a list with its date stamp; the job is no longer held.
    void file(brimDevices& list, bool failed, double when) {
        const std::shared_ptr<brimDevice> device = std::move(device_);
        if (failed) {
            device->SetLastError(when);
        } else {
            device->SetLastLoaded(when);
        }
        list.Add(device);
    }

    bool fail(enumRetVal result) {
        file(*e_.loadError_, true, automation::now());
        result_ = result;
        return false;
    }

    void transfer() {
        access_ = required(required(busdriver::installedDriver())->createPropertyAccess());
        access_->Attach(conn_);
        access_->setRetryCount(e_.retries_);
        const std::shared_ptr<brimPropItems> items = device_->PropItems();
        e_.raiseLoad(upload_ ? brimEibEL_UploadStart : brimEibEL_DownloadStart, items->Count(), 0);

        const std::int32_t count = items->Count();
        for (std::int32_t i = 1; i <= count; ++i) items->Item(i)->SetUpdate(false);
        // The download counts its items in 16 bits.
        if (!upload_ && count > 32767) automation::raiseRuntime(automation::errOverflow, kEngineSource);
        std::int32_t i = 1;
        for (; i <= count; ++i) {
            if (e_.cancelRequested_) return cancelBetweenItems();
            const std::shared_ptr<brimPropItem> item = items->Item(i);
            if (!(upload_ ? readItem(*item) : writeItem(*item))) return;
            item->SetUpdate(true);
        }
        if (upload_) {
            file(*e_.uploadDone_, false, automation::now());
            e_.raiseLoad(brimEibEL_UploadDone, items->Count(), i - 1);
            result_ = brimEibUploadDone;
        } else {
            e_.raiseLoad(brimEibEL_DownloadDone, items->Count(), i - 1);
            result_ = brimEibDownloadDone;
            file(*e_.downloadDone_, false, automation::now());
        }
    }

    void cancelBetweenItems() {
        const double when = automation::now();
        e_.cancelRequested_ = false;
        cancelled_ = true;
        e_.raiseError(brimEibEE_CanceledByUser, 0, 0, when);
        file(*e_.loadError_, true, when);
        e_.state_ = upload_ ? brimEibStatePassive : brimEibStateError;
        result_ = upload_ ? brimEibUploadCanceledByUser : brimEibDownloadCanceledByUser;
    }

    Variant read(std::int32_t objectId, std::int32_t propertyId, std::int32_t dataType, std::int32_t start,
                 std::int32_t count) {
        Variant value;
        access_->ReadProperty(objectId, propertyId, dataType, start, count, value);
        return value;
    }

    void write(const brimPropItem& item, std::int32_t dataType, std::int32_t start, std::int32_t count,
               const Variant& value) {
        access_->WriteProperty(item.ObjectID(), item.PropertyId(), dataType, start, count, value, e_.itemVerify_);
    }

    // Reads an item's value in pieces of at most one telegram. An array item's element count
    // comes from index 0 (read as countType); its elements from index 1 on.
    Variant readValue(const brimPropItem& item, std::int32_t countType, bool arrayKind, bool packTwoBytes) {
        const std::int32_t objectId = item.ObjectID();
        const std::int32_t propertyId = item.PropertyId();
        const std::int32_t dataType = item.DataType();
        const std::int32_t count = arrayKind ? automation::toLong(read(objectId, propertyId, countType, 0, 1)) : 1;
        if (count == 0) return {};
        if (count < 0) automation::raiseRuntime(automation::errSubscript, kEngineSource);
        // The count is a 16-bit value on the bus; a reply claiming more is refused before the
        // value is sized for it.
        if (count > kMaxElementCount) automation::raiseRuntime(automation::errOverflow, kEngineSource);
        if (count == 1 && arrayKind) return oneElementArray(dataType, read(objectId, propertyId, dataType, 1, 1));

        // Every read asks for at least one element, so the reading always advances.
        const std::int32_t n = std::min(std::max(coding::ElementsPerTelegram(dataType), 1), count);
        Variant value = read(objectId, propertyId, dataType, 1, n);
        if (!arrayKind) return value;
        value = resized(asElements(dataType, value, n), count);
        for (std::int32_t pos = n + 1; pos <= count; pos += n) {
            const std::int32_t m = std::min(n, count - pos + 1);
            Variant part = read(objectId, propertyId, dataType, pos, m);
            if (packTwoBytes && m == 1 && part.isArray() && part.upperBound() == 1) {
                // Two values for one element: the two bytes of one PT_GENERIC_02 element.
                Variant block = coding::genEibData(PT_GENERIC_02);
                block.set(0, part.at(0));
                block.set(1, part.at(1));
                part = block;
            }
            const Variant elements = asElements(dataType, part, m);
            std::int32_t index = pos - 1;
            for (const Variant& element : elements.elements()) value.set(index++, element);
        }
        return value;
    }

    // A verify item: equal goes on, different fails the job.
    bool compareItem(const brimPropItem& item, const Variant& value) {
        if (coding::CompareData(item.Data(), value)) {
            e_.raiseLoad(brimEibEL_Verify, item.ObjectID(), item.PropertyId());
            return true;
        }
        e_.raiseError(brimEibEE_VerifyError, item.ObjectID(), item.PropertyId(), automation::now());
        file(*e_.loadError_, true, automation::now());
        if (upload_) e_.state_ = brimEibStateError;
        result_ = brimEibError;
        return false;
    }

    bool readItem(brimPropItem& item) {
        const std::int32_t kind = item.ItemType();
        const bool arrayKind = kind == brimItemArray || kind == brimItemAddress || kind == brimItemAssoziation;
        Variant value = readValue(item, PT_UNSIGNED_INT, arrayKind, true);
        if (item.Verify()) return compareItem(item, value);
        e_.raiseLoad(brimEibEL_Upload, item.ObjectID(), item.PropertyId());
        item.setData(value);
        return true;
    }

    bool writeItem(const brimPropItem& item) {
        if (item.Verify()) return compareItem(item, readValue(item, PT_INT, item.IsArray(), false));
        const Variant data = item.Data();
        // The kind decides first: an array item of PT_CONTROL carries blocks, which IsArrayData refuses.
        if (item.ItemType() == brimItemArray || coding::IsArrayData(item.DataType(), data))
            return writeArray(item, data);
        return writeScalar(item, data);
    }

    // Index 0 first (the element count, or for an address table element 0 of Data), then the
    // elements in pieces of at most one telegram: element k of Data at index k + 1.
    bool writeArray(const brimPropItem& item, const Variant& data) {
        const std::int32_t dataType = item.DataType();
        if (coding::ElementSize(dataType) == 0) {
            e_.raiseError(brimEibEE_DownloadError, item.ObjectID(), item.PropertyId(), automation::now());
            return fail(brimEibDownloadUnknownType);
        }
        const std::int32_t count = data.isEmpty() ? 0 : data.upperBound() + 1;
        const std::int32_t kind = item.ItemType();
        std::int32_t first = 0;
        if (kind == brimItemAddress) {
            write(item, PT_INT, 0, 1, data.at(0));
            e_.raiseLoad(brimEibEL_AddressStart, 0, automation::toLong(data.at(0)));
            first = 1;
        } else {
            write(item, PT_INT, 0, 1, Variant(count));
            if (kind == brimItemAssoziation) e_.raiseLoad(brimEibEL_AssozStart, 0, count);
        }
        const std::int32_t perTelegram = coding::ElementsPerTelegram(dataType);
        for (std::int32_t pos = first; pos < count; pos += perTelegram) {
            const std::int32_t n = std::min(perTelegram, count - pos);
            std::vector<Variant> piece;
            piece.reserve(static_cast<std::size_t>(n));
            for (std::int32_t k = 0; k < n; ++k) piece.push_back(coding::ToElement(dataType, data.at(pos + k)));
            const Variant value = n == 1 ? piece.front() : Variant::variants(std::move(piece));
            write(item, dataType, pos + 1, n, value);
        }
        e_.raiseLoad(brimEibEL_Download, item.ObjectID(), item.PropertyId());
        if (kind == brimItemAddress) {
            const std::int32_t element0 = automation::toLong(data.at(0));
            e_.raiseLoad(brimEibEL_AddressDone, element0, element0);
        } else if (kind == brimItemAssoziation) {
            e_.raiseLoad(brimEibEL_AssozDone, count, count);
        }
        return true;
    }

    bool writeScalar(const brimPropItem& item, const Variant& data) {
        if (!data.isEmpty() && item.ItemType() == brimItemLoadCtl) {
            // Loading is allowed unless the load state is 0 (unloaded) or 3 (error); the load
            // event is written only when element 0 of the state equals element 0 of Data.
            const Variant state = read(item.ObjectID(), item.PropertyId(), item.DataType(), 1, 1);
            const Variant& state0 = state.at(0);
            const Variant& data0 = data.at(0);
            if (isScalarEqual(state0, 0) || isScalarEqual(state0, 3)) {
                e_.raiseError(brimEibEE_LoadError, automation::toLong(state0), automation::toLong(data0),
                              automation::now());
                return fail(brimEibError);
            }
            if (automation::scalarEquals(state0, data0)) write(item, item.DataType(), 1, 1, data);
            e_.raiseLoad(brimEibEL_LoadCtl, automation::toLong(state0), automation::toLong(data0));
            return true;
        }
        // An empty value is skipped but reported as handled.
        if (!data.isEmpty()) write(item, item.DataType(), 1, 1, data);
        e_.raiseLoad(brimEibEL_Download, item.ObjectID(), item.PropertyId());
        return true;
    }

    brimEib& e_;
    const bool upload_;
    const std::shared_ptr<brimDevices> queue_;
    const std::int32_t regionBase_;
    std::int32_t region_ = 0;
    enumRetVal result_ = static_cast<enumRetVal>(0);
    bool cancelled_ = false;
    std::shared_ptr<brimDevice> device_;
    std::shared_ptr<busdriver::ConnectionObject> conn_;
    std::shared_ptr<busdriver::AuxiliaryObject> aux_;
    std::shared_ptr<busdriver::PropertyAccess> access_;
};

enumRetVal brimEib::runJobs(Running kind) {
    // One job at a time: a call from an event handler of a running job is refused untouched.
    if (running_ != Running::None) return running_ == Running::Upload ? brimEibInUploadMode : brimEibInDownloadMode;
    running_ = kind;
    struct Reset {
        Running& running;
        ~Reset() { running = Running::None; }
    } reset{running_};
    return JobRun(*this, kind == Running::Upload).run();
}

}  // namespace corbus
