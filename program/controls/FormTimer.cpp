#include "FormTimer.h"

namespace corvane {

namespace {
bool manualTimers = false;
}

FormTimer::FormTimer(const QString& name, int intervalMs, QObject* parent) : QObject(parent), interval_(intervalMs) {
    setObjectName(name);
    connect(&clock_, &QTimer::timeout, this, &FormTimer::tick);
}

void FormTimer::setEnabled(bool on) {
    enabled_ = on;
    sync();
}

void FormTimer::setInterval(int ms) {
    interval_ = ms;
    sync();
}

void FormTimer::sync() {
    if (enabled_ && interval_ > 0 && !manualTimers) {
        clock_.start(interval_);
    } else {
        clock_.stop();
    }
}

void FormTimer::SetManual(bool manual) { manualTimers = manual; }

bool FormTimer::Manual() { return manualTimers; }

}  // namespace corvane
