#pragma once

#include "app/Commands.h"
#include "ui/wave/WaveViewModel.h"

#include <QCursor>
#include <QIcon>

// The wave editor's own button art and marker cursors, drawn rather than loaded.
QIcon WaveToolIcon(Command command);
QCursor MarkerCursor(CWaveViewModel::Cursor shape);
