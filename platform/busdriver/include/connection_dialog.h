// The driver's connection dialog: a seam the program fills with its own window. Without one,
// the driver chooses the simulated line with its default parameters (headless use).
#pragma once

#include "falcon.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace busdriver {

// A bus interface as the dialog offers it and as the connection record carries it.
struct InterfaceChoice {
    std::string name;
    std::string interfaceId;  // GUID in registry text form
    std::string parameters;
};

// The interfaces this driver offers (the simulated line with its default parameters).
std::vector<InterfaceChoice> offeredInterfaces();

// Shows the interfaces and returns the user's choice, or nothing when the user cancels. An
// automation::AutomationError thrown by the dialog becomes the failure status of SelectConnection.
using ConnectionDialog = std::function<std::optional<InterfaceChoice>(const std::string& caption,
                                                                      const std::vector<InterfaceChoice>& offered)>;

// Installs the dialog; an empty function restores the headless default.
void setConnectionDialog(ConnectionDialog dialog);

// Fills a connection record: UTF-16 name at 0 (up to 65 characters), the GUID at 132, UTF-16
// parameters at 148 (up to 511 characters), everything else zero. False, and the record
// untouched, when the interface identifier is not a GUID in registry text form.
bool writeConnectionRecord(ConnectionRecord& record, const InterfaceChoice& choice);

}  // namespace busdriver
