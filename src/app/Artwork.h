#pragma once

#include <QIcon>
#include <QPixmap>

#include <functional>

class QPainter;

// The program's pictures, drawn rather than shipped: the splash bitmap and the program icon.
QPixmap SplashBitmap();
QIcon ProgramIcon();

// A square picture of `size` pixels on a transparent ground, drawn with antialiasing: the editors'
// button art.
QPixmap DrawnPixmap(int size, const std::function<void(QPainter&)>& draw);
