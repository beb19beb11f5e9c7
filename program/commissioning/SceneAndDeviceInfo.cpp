#include "SceneAndDeviceInfo.h"

#include "Forms.h"
#include "frmDeviceInfo.h"
#include "frmScene.h"

namespace corvane {

void RegisterSceneAndDeviceInfoForms() {
    RegisterForm("frmScene", [](MainWindowServices& main) { return new frmScene(main); });
    RegisterForm("frmDeviceInfo", [](MainWindowServices& main) { return new frmDeviceInfo(main); });
}

}  // namespace corvane
