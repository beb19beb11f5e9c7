// What the windows take from their surroundings, each behind a seam that tests replace:
// the user settings store, the program folder, modal dialogs, the screen's twips.
#pragma once

#include <QString>

#include <functional>
#include <optional>
#include <string>

class QDialog;
class QWidget;

namespace corvane {

// User settings: application "Orvek DALI Tool Software", section "Settings". The store is the
// per-user registry on Windows and an INI file in the user's configuration folder elsewhere.
inline constexpr const char* kSettingsApp = "Orvek DALI Tool Software";
inline constexpr const char* kSettingsSection = "Settings";

// Points the store at an INI file of the caller's (tests); an empty path restores the default.
void UseSettingsFile(const QString& iniPath);
std::optional<std::string> GetSetting(const std::string& app, const std::string& section, const std::string& key);
void SaveSetting(const std::string& app, const std::string& section, const std::string& key, const std::string& value);

// The folder of the program file; tests set their own (an empty path restores the default).
QString ProgramFolder();
void SetProgramFolder(const QString& folder);

// Shows a dialog modally and returns its result. Tests install a runner that plays the user's
// part and returns at once; an empty runner restores the real exec().
using ModalRunner = std::function<int(QDialog&)>;
void SetModalRunner(ModalRunner runner);
int ShowModal(QDialog& dialog);

// Sizes in twips (1440 per inch) and pixels at the screen's logical resolution.
int TwipsToPixels(int twips);
int PixelsToTwips(int pixels);
int ScreenWidthTwips();
int ScreenHeightTwips();

// Places a top-level window's frame at Left, Top (twips, screen coordinates) with the size
// Width x Height (twips); a negative value leaves that coordinate as it is, and a window given
// a size alone keeps the place the window system chooses. The frame is moved and shrunk into
// the screen's available area. A window not yet shown is placed again when it is first
// exposed, once its frame is known.
void SetWindowTwips(QWidget& window, int left, int top, int width, int height);

}  // namespace corvane
