#include "falcon.h"
#include "simulated_line.h"

namespace busdriver {

namespace {

std::shared_ptr<Driver>& installedSlot() {
    static std::shared_ptr<Driver> driver;
    return driver;
}

}  // namespace

std::shared_ptr<Driver> installedDriver() {
    const std::shared_ptr<Driver>& driver = installedSlot();
    return driver ? driver : simulatedDriver();
}

void installDriver(std::shared_ptr<Driver> driver) { installedSlot() = std::move(driver); }

}  // namespace busdriver
