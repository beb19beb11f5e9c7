#include "Seams.h"

#include <QCoreApplication>
#include <QDialog>
#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <cmath>
#include <memory>

namespace corvane {

namespace {

QString& settingsFile() {
    static QString path;
    return path;
}

QString& programFolder() {
    static QString folder;
    return folder;
}

ModalRunner& modalRunner() {
    static ModalRunner runner;
    return runner;
}

std::unique_ptr<QSettings> openStore(const std::string& app, const std::string& section) {
    std::unique_ptr<QSettings> s;
    if (!settingsFile().isEmpty()) {
        s = std::make_unique<QSettings>(settingsFile(), QSettings::IniFormat);
        s->beginGroup(QString::fromStdString(app));
    } else {
#ifdef Q_OS_WIN
        s = std::make_unique<QSettings>(
            QStringLiteral("HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\") + QString::fromStdString(app),
            QSettings::NativeFormat);
#else
        s = std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, QString::fromStdString(app));
#endif
    }
    s->beginGroup(QString::fromStdString(section));
    return s;
}

double dotsPerInch() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double dpi = screen ? screen->logicalDotsPerInch() : 96.0;
    return dpi > 0 ? dpi : 96.0;
}

}  // namespace

void UseSettingsFile(const QString& iniPath) { settingsFile() = iniPath; }

std::optional<std::string> GetSetting(const std::string& app, const std::string& section, const std::string& key) {
    const auto store = openStore(app, section);
    const QVariant v = store->value(QString::fromStdString(key));
    if (!v.isValid()) return std::nullopt;
    return v.toString().toStdString();
}

void SaveSetting(const std::string& app, const std::string& section, const std::string& key, const std::string& value) {
    auto store = openStore(app, section);
    store->setValue(QString::fromStdString(key), QString::fromStdString(value));
    store->sync();
}

QString ProgramFolder() { return programFolder().isEmpty() ? QCoreApplication::applicationDirPath() : programFolder(); }

void SetProgramFolder(const QString& folder) { programFolder() = folder; }

void SetModalRunner(ModalRunner runner) { modalRunner() = std::move(runner); }

int ShowModal(QDialog& dialog) {
    if (modalRunner()) return modalRunner()(dialog);
    return dialog.exec();
}

int TwipsToPixels(int twips) { return static_cast<int>(std::lround(twips * dotsPerInch() / 1440.0)); }

int PixelsToTwips(int pixels) { return static_cast<int>(std::lround(pixels * 1440.0 / dotsPerInch())); }

int ScreenWidthTwips() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return PixelsToTwips(screen ? screen->geometry().width() : 1024);
}

int ScreenHeightTwips() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return PixelsToTwips(screen ? screen->geometry().height() : 768);
}

namespace {

// The part of the screen a window may take: its screen's area less the desktop's panels.
QRect availableArea(const QWidget& window) {
    const QScreen* screen = window.screen();
    if (!screen) screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

// A frame shrunk to the area and, when it is placed, moved into it.
QRect fitInto(QRect frame, const QRect& area, bool place) {
    if (area.isEmpty()) return frame;
    frame.setSize(frame.size().boundedTo(area.size()));
    if (place) {
        frame.moveLeft(std::clamp(frame.left(), area.left(), area.right() + 1 - frame.width()));
        frame.moveTop(std::clamp(frame.top(), area.top(), area.bottom() + 1 - frame.height()));
    }
    return frame;
}

// Gives the window the frame: the inner area is the frame less the margins that the window
// system reports now (none before it has framed the window). A window not created yet takes its
// frame's position with move(), which the window system applies to the frame.
void applyFrame(QWidget& window, const QRect& frame, bool place) {
    const QWindow* native = window.testAttribute(Qt::WA_WState_Created) ? window.windowHandle() : nullptr;
    const QMargins margins = native ? native->frameMargins() : QMargins();
    const QRect inner(frame.topLeft() + QPoint(margins.left(), margins.top()),
                      (frame - margins).size().expandedTo(QSize(1, 1)));
    if (!place) {
        window.resize(inner.size());
    } else if (native) {
        window.setGeometry(inner);
    } else {
        window.resize(inner.size());
        window.move(frame.topLeft());
    }
}

// A frame placed before the window is first shown: until the window system has framed the
// window its margins are unknown, so its inner area would take the frame's size (and, once
// the native window exists, the frame's position). The placement is applied once more when the
// window is first exposed, with the margins known then. A window has one pending placement at
// most, a child object of the window.
class FramePlacement : public QObject {
    Q_OBJECT

public:
    FramePlacement(QWidget& window, const QRect& frame, bool place)
        : QObject(&window), window_(window), frame_(frame), place_(place) {
        window.installEventFilter(this);
    }

    // The placement still pending for a window, or nullptr.
    static FramePlacement* Of(const QWidget& window) {
        return window.findChild<FramePlacement*>(QString(), Qt::FindDirectChildrenOnly);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &window_ && event->type() == QEvent::Show && window_.windowHandle()) {
            window_.windowHandle()->installEventFilter(this);
        } else if (watched == window_.windowHandle() && event->type() == QEvent::Expose &&
                   window_.windowHandle()->isExposed()) {
            window_.windowHandle()->removeEventFilter(this);
            window_.removeEventFilter(this);
            applyFrame(window_, fitInto(frame_, availableArea(window_), place_), place_);
            deleteLater();
        }
        return false;
    }

private:
    QWidget& window_;
    QRect frame_;
    bool place_;
};

}  // namespace

void SetWindowTwips(QWidget& window, int left, int top, int width, int height) {
    const QRect now = window.frameGeometry();
    const bool place = left >= 0 || top >= 0;
    const QRect frame(left >= 0 ? TwipsToPixels(left) : now.x(), top >= 0 ? TwipsToPixels(top) : now.y(),
                      width >= 0 ? TwipsToPixels(width) : now.width(),
                      height >= 0 ? TwipsToPixels(height) : now.height());
    applyFrame(window, fitInto(frame, availableArea(window), place), place);
    delete FramePlacement::Of(window);
    if (!window.isVisible()) new FramePlacement(window, frame, place);
}

}  // namespace corvane

#include "Seams.moc"
