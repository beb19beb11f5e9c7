// Reaches the private list, table and menu-language operations of the project object.
#pragma once

#include "MenuLanguage.h"
#include "clsTabs.h"
#include "corlink/clsOrvekDali.h"

namespace corlink {

struct ListsAndTablesTestAccess {
    static void FillTabs(const clsOrvekDali& p, clsTabs& tabs) { p.FillTabs(tabs); }
    static void ReadLanguageFile(const clsOrvekDali& p, SafeArray<TypMenuText>& items) { p.ReadLanguageFile(items); }
    static void WriteLanguageFile(const clsOrvekDali& p, const SafeArray<TypMenuText>& items) {
        p.WriteLanguageFile(items);
    }
    static void BuildLanguageItems(clsOrvekDali& p, corbus::brimDevice& dev) { p.BuildLanguageItems(dev); }
};

}  // namespace corlink
