#include "SceneAndDeviceInfo.h"

#include "Forms.h"
#include "frmDeviceInfo.h"
#include "frmScene.h"

namespace corvane {

void RegisterSceneAndDeviceInfoForms() {
    RegisterSubjectForm("frmScene", [](MainWindowServices& main, const std::optional<FormSubject>& node) {
        return new frmScene(main, node);
    });
    RegisterForm("frmDeviceInfo", [](MainWindowServices& main) { return new frmDeviceInfo(main); });
}

}  // namespace corvane
