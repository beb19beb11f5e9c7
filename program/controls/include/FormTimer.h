// A window's timer control: Enabled and Interval as the windows use them, and one tick signal.
// Tests switch all timers to manual mode, where nothing ticks by itself and Fire() ticks once.
#pragma once

#include <QObject>
#include <QTimer>

namespace corvane {

class FormTimer : public QObject {
    Q_OBJECT
public:
    explicit FormTimer(const QString& name, int intervalMs, QObject* parent = nullptr);

    bool Enabled() const { return enabled_; }
    void setEnabled(bool on);
    int Interval() const { return interval_; }
    void setInterval(int ms);

    // Runs one tick now (tests, and manual mode).
    void Fire() { emit tick(); }

    // Manual mode for every timer: enabling a timer starts no clock.
    static void SetManual(bool manual);
    static bool Manual();

signals:
    void tick();

private:
    void sync();

    QTimer clock_;
    bool enabled_ = false;
    int interval_ = 0;
};

}  // namespace corvane
