// The job engine's events as the project object reports them: LoadEvent with a German progress
// text, LoadErrorEvent with a German error text and a LoadError code. Each engine event also lets
// the program's waiting window messages run once.
#include "GatewayDetail.h"
#include "corbus/brim_eib.h"
#include "corlink/GatewayHooks.h"
#include "corlink/clsOrvekDali.h"

#include <utility>

namespace corlink {

namespace detail {

namespace {

std::function<void()>& pumpSlot() {
    static std::function<void()> pump;
    return pump;
}

std::string dec(std::int32_t value) { return std::to_string(value); }
std::string hex(std::int32_t value) { return hexText(static_cast<std::uint32_t>(value)); }

// "Props:" counts name the second parameter first, "Adressen:" counts the first.
std::string props(std::int32_t param1, std::int32_t param2) { return "Props:" + dec(param2) + "/" + dec(param1); }
std::string addresses(std::int32_t param1, std::int32_t param2) {
    return "Adressen:" + dec(param1) + "/" + dec(param2);
}
std::string objProp(std::int32_t param1, std::int32_t param2) {
    return "Obj.ID:" + dec(param1) + "\t\tProp.ID:" + dec(param2);
}

}  // namespace

std::string hexText(std::uint32_t value) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    do {
        out.insert(out.begin(), digits[value % 16]);
        value /= 16;
    } while (value != 0);
    return out;
}

std::string progressText(std::int32_t eventId, std::int32_t param1, std::int32_t param2) {
    switch (eventId) {
    case corbus::brimEibEL_generic: return "Allgemeine Lade-Meldung:";
    case corbus::brimEibEL_Upload: return "Property geladen\t\t" + objProp(param1, param2);
    case corbus::brimEibEL_UploadStart: return "Beginn Upload\t\t" + props(param1, param2);
    case corbus::brimEibEL_UploadDone: return "Ende Upload\t\t" + props(param1, param2);
    case corbus::brimEibEL_Verify: return "Property überprüft\t\t" + objProp(param1, param2);
    case corbus::brimEibEL_Download: return "Property geschrieben\t" + objProp(param1, param2);
    case corbus::brimEibEL_DownloadStart: return "Begin Download\t\t" + props(param1, param2);
    case corbus::brimEibEL_DownloadDone: return "Ende Download\t\t" + props(param1, param2);
    case corbus::brimEibEL_Mask: return "Masken Version geprüft\tPhys.Addr:" + hex(param1) + "\tMaske:" + hex(param2);
    case corbus::brimEibEL_Connect: return "Verbindung geöffnet\t\tPhys.Addr:" + hex(param1);
    case corbus::brimEibEL_Disconnect: return "Verbindung geschlossen\tPhys.Addr:" + hex(param1);
    case corbus::brimEibEL_UploadListEmpty: return "Keine Geräte für Upload";
    case corbus::brimEibEL_DownloadListEmpty: return "Keine Geräte für Download";
    case corbus::brimEibEL_AddressStart: return "Download Adress-Tabelle\t" + addresses(param1, param2);
    case corbus::brimEibEL_AddressDone: return "Adress-Tabelle geladen\t" + addresses(param1, param2);
    case corbus::brimEibEL_AssozStart: return "Download Verbindungs-Tabelle\t" + addresses(param1, param2);
    case corbus::brimEibEL_AssozDone: return "Verbindungs-Tabelle geladen\t" + addresses(param1, param2);
    case corbus::brimEibEL_LoadCtl: return "Change LoadCtrl\t\tVor:" + dec(param1) + "\tNach:" + dec(param2);
    default: return {};
    }
}

std::optional<ErrorReport> errorReport(std::int32_t eventId, std::int32_t param1, std::int32_t param2) {
    const auto tip = [&](const char* what, bool hexTip) {
        return std::string(what) + "\t" + hex(param1) + "\tTip:" + (hexTip ? hex(param2) : dec(param2));
    };
    const auto item = [&](const char* what) {
        return std::string(what) + "\t" + dec(param1) + "\tProp.ID:" + dec(param2);
    };
    switch (eventId) {
    case corbus::brimEibEE_Generic:
        return ErrorReport{"Allgemeiner Fehler Param1:\t" + hex(param1) + "\tParam2:" + hex(param2), ERR_COMMUNICATION};
    case corbus::brimEibEE_NoConnect: return ErrorReport{tip("Keine Verbindung Phys.Adr:", false), ERR_NOCONNECTION};
    case corbus::brimEibEE_ConnectBroke:
        return ErrorReport{tip("Verbindung unterbrochen Phys.Adr:", false), ERR_CONNECTIONFAILD};
    case corbus::brimEibEE_MaskError: return ErrorReport{tip("Falsche Maskenversion Phys.Adr:", true), ERR_MASKVERSION};
    case corbus::brimEibEE_VerifyError:
        return ErrorReport{item("Property nicht verifiziert!! Obj.ID:"), ERR_PROPERTYVERIFY};
    case corbus::brimEibEE_UploadError:
        return ErrorReport{item("Fehler beim Lesen des Property!! Obj.ID:"), ERR_PROPERTYREAD};
    case corbus::brimEibEE_DownloadError:
        return ErrorReport{item("Fehler beim Schreiben Property!! Obj.ID:"), ERR_PROPERTYWRITE};
    case corbus::brimEibEE_CanceledByUser: return ErrorReport{"Abbruch durch Anwender!!", ERR_USER};
    case corbus::brimEibEE_LoadError:
        return ErrorReport{"Load Error\t\tAktuell:" + dec(param1) + "\tAngefragt:" + dec(param2), ERR_LOAD};
    default: return std::nullopt;
    }
}

void runMessagePump() {
    // A copy: the pump may install another one while it runs.
    const std::function<void()> pump = pumpSlot();
    if (pump) pump();
}

}  // namespace detail

void setMessagePump(std::function<void()> pump) { detail::pumpSlot() = std::move(pump); }

// The engine's two events. A progress event lets the window messages run before LoadEvent, an
// error event after LoadErrorEvent.
class clsOrvekDali::BusEvents final : public corbus::brimEibEvents {
public:
    explicit BusEvents(clsOrvekDali& project) : p_(project) {}

    void EventLoad(corbus::enumEventID vEventID, std::int32_t param1, std::int32_t param2, double dateTime) override {
        const std::string text = detail::progressText(vEventID, param1, param2);
        detail::runMessagePump();
        p_.raiseLoadEvent(" " + text, param1, param2, dateTime);
    }

    void EventError(corbus::enumEventID vEventID, std::int32_t param1, std::int32_t param2, double dateTime) override {
        if (const auto report = detail::errorReport(vEventID, param1, param2)) {
            p_.raiseLoadErrorEvent(report->text, param1, param2, dateTime, report->code);
        }
        detail::runMessagePump();
    }

private:
    clsOrvekDali& p_;
};

void clsOrvekDali::connectBusEvents() {
    mBusEvents = std::make_shared<BusEvents>(*this);
    mRiduDIV->setEventSink(mBusEvents.get());
}

}  // namespace corlink
