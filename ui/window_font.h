#pragma once

#include <QFont>

class QScreen;

// The window's font: Tahoma 8 pt (11 pixels at 96 dpi) where installed,
// otherwise the nearest sans-serif at the same pixel height, scaled with the
// screen's setting.
QFont WindowFont(const QScreen* screen);
