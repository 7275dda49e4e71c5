#pragma once

#include <QIcon>
#include <QImage>
#include <QPixmap>

#include <functional>

class QPainter;

// The program's pictures, drawn rather than shipped: the splash bitmap and the program icon.
QPixmap SplashBitmap();
QIcon ProgramIcon();
// The icon at one size, drawn without a display: also what the installed icons are made of.
QImage ProgramIconImage(int size);
// The sizes the desktop's icon theme gets.
inline constexpr int kProgramIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

// A square picture of `size` pixels on a transparent ground, drawn with antialiasing: the editors'
// button art.
QPixmap DrawnPixmap(int size, const std::function<void(QPainter&)>& draw);
