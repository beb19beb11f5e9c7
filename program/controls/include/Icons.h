// The program's own pictures, drawn here: the images of the project tree (ImageBaum), of the
// toolbar (ImageMenues), the program icon and the splash picture. The icons are drawn on demand,
// once per size, and shared by every caller for the rest of the application's run.
#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

namespace corvane {

// Tree image by its 1-based index in ImageBaum (1 to 8); a null icon for any other index.
QIcon TreeImage(int index);
inline constexpr int kTreeImageCount = 8;

// Toolbar image by the button's key ("New", "Open", "Save", "SaveAs", "Upload", "Download",
// "Info", "Ausgang"); a null icon for any other key.
QIcon ToolbarImage(const QString& key);

QIcon ProgramIcon();

// The splash window's picture at the given size in pixels.
QPixmap SplashPicture(int width, int height);

}  // namespace corvane
