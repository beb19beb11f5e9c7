#include "SceneAndDeviceInfo.h"

#include "Forms.h"
#include "frmDeviceInfo.h"
#include "frmScene.h"

namespace corvane {

void RegisterSceneAndDeviceInfoForms() {
    RegisterForm("frmScene", [] { return new frmScene; });
    RegisterForm("frmDeviceInfo", [] { return new frmDeviceInfo; });
}

}  // namespace corvane
