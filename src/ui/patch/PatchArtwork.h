#pragma once

#include "app/Commands.h"

#include <QIcon>
#include <QPixmap>

// The patch editor's drawn pictures: the toolbar's buttons, the tree's item images (by image
// number) and the graph pages' zoom buttons.
QIcon PatchToolIcon(Command command);
QPixmap PatchTreeImage(int image);
QIcon ZoomIcon(bool zoomIn);
