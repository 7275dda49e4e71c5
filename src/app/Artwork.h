#pragma once

#include <QIcon>
#include <QPixmap>

// The program's pictures, drawn rather than shipped: the splash bitmap and the program icon.
QPixmap SplashBitmap();
QIcon ProgramIcon();
