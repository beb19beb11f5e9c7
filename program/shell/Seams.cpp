#include "Seams.h"

#include <QCoreApplication>
#include <QDialog>
#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QWidget>

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

void SaveSetting(const std::string& app, const std::string& section, const std::string& key,
                 const std::string& value) {
    auto store = openStore(app, section);
    store->setValue(QString::fromStdString(key), QString::fromStdString(value));
    store->sync();
}

QString ProgramFolder() {
    return programFolder().isEmpty() ? QCoreApplication::applicationDirPath() : programFolder();
}

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

void SetWindowTwips(QWidget& window, int left, int top, int width, int height) {
    // Outer size as the window's frame counts it; the frame is known once the window is shown.
    const QSize frameExtra = window.frameGeometry().size() - window.geometry().size();
    if (width >= 0 || height >= 0) {
        const int w = width >= 0 ? TwipsToPixels(width) - frameExtra.width() : window.width();
        const int h = height >= 0 ? TwipsToPixels(height) - frameExtra.height() : window.height();
        window.resize(std::max(w, 1), std::max(h, 1));
    }
    if (left >= 0 || top >= 0) {
        window.move(left >= 0 ? TwipsToPixels(left) : window.frameGeometry().x(),
                    top >= 0 ? TwipsToPixels(top) : window.frameGeometry().y());
    }
}

}  // namespace corvane
