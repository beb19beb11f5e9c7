// Reaches the private list, table and menu-language operations of the project object, its scene
// data (which only the project file reads and writes), its job engine's lists and its handlers of
// the engine's events.
#pragma once

#include "MenuLanguage.h"
#include "clsTabs.h"
#include "corbus/brim_eib.h"
#include "corlink/clsOrvekDali.h"

namespace corlink {

struct ListsAndTablesTestAccess {
    static void FillTabs(const clsOrvekDali& p, clsTabs& tabs) { p.FillTabs(tabs); }
    static void ReadLanguageFile(const clsOrvekDali& p, SafeArray<TypMenuText>& items) { p.ReadLanguageFile(items); }
    static void WriteLanguageFile(const clsOrvekDali& p, const SafeArray<TypMenuText>& items) {
        p.WriteLanguageFile(items);
    }
    static void BuildLanguageItems(clsOrvekDali& p, corbus::brimDevice& dev) { p.BuildLanguageItems(dev); }
    static std::array<TypDaliSceneData, 33>& sceneData(clsOrvekDali& p) { return p.mDaliSceneData; }
    // The devices in all lists of the project's job engine.
    static std::int32_t jobsInEngine(const clsOrvekDali& p) {
        corbus::brimEib& e = *p.mRiduDIV;
        return e.Upload()->Count() + e.Download()->Count() + e.UploadDone()->Count() + e.DownloadDone()->Count() +
               e.LoadError()->Count();
    }
    // The sink that the project object installed in its job engine.
    static corbus::brimEibEvents& busEvents(clsOrvekDali& p) { return *p.mBusEvents; }
};

}  // namespace corlink
