#include "ProjectDocument.h"

#include "DeviceSelection.h"
#include "GatewayModels.h"
#include "ModelTables.h"
#include "automation_error.h"
#include "corlink/ProjectFile.h"
#include "variant.h"

#include <type_traits>
#include <utility>

namespace corvane {

static_assert(std::is_nothrow_swappable_v<ModelTables>);

std::size_t ProjectDocument::MaxFileSize() { return corlink::MaxProjectFileSize(LargestModelLimits()); }

ProjectDocument::OpenResult ProjectDocument::Open(const std::string& name) {
    const std::size_t limit = MaxFileSize();
    const std::string bytes = corlink::ReadProjectFileBytes(name, limit);
    if (bytes.size() > limit) automation::raiseRuntime(automation::errOverflow, "Corvane");

    corlink::ByteStream header(bytes);
    const corlink::TypHeader h = corlink::clsOrvekDali::ReadProjektHeader(header);
    std::optional<ModelTables> model = ChooseDeviceDefinition(h.Bestellnummer, h.Version);
    if (!model) return {Outcome::ModelRefused};

    // What the file does not hold carries over from the open project, as when it is sized anew
    // and read in place.
    corlink::clsOrvekDali aside;
    aside.CopyProjekt(project_);
    aside.IniInterface(model->MaxLimits, model->FunctionGroupList, model->PropertyObjectIds);
    try {
        corlink::ByteStream file(bytes);
        aside.ReadProjekt(file, name);
    } catch (const automation::AutomationError& e) {
        return {Outcome::NotRead, automation::toInteger(static_cast<double>(e.number()))};
    }

    using std::swap;
    swap(Model, *model);
    project_.TakeProjekt(aside);
    return {Outcome::Opened};
}

corlink::TypHeader ProjectDocument::FreshHeader(const std::string& orderNo, const std::string& version) const {
    corlink::TypHeader h = project_.Header();
    h.Bestellnummer = orderNo;
    h.Version = version;
    h.DateiName.clear();
    h.phyAdr = 0;
    h.phyAdrString = "0.0.0";
    h.LetzterZugriff = 0;
    h.LetzterDownload = 0;
    h.LetzterUpload = 0;
    return h;
}

bool ProjectDocument::StartAfresh(const corlink::TypHeader& header, Sizing sizing) {
    if (!SelectDeviceDefinition(header.Bestellnummer, header.Version)) return false;
    if (sizing == Sizing::IniInterfaceStart) {
        project_.IniInterfaceStart(MaxLimits, FunctionGroupList, PropertyObjectIds);
    } else {
        project_.IniInterface(MaxLimits, FunctionGroupList, PropertyObjectIds);
    }
    project_.letHeader(header);
    project_.ClearChangeFlag();
    return true;
}

}  // namespace corvane
