#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

class QScreen;

// The window font's family among the installed ones: Tahoma, or else the
// first installed of the faces drawn to its metrics; empty when none is, and
// the toolkit's sans-serif is taken.
QString WindowFontFamily(const QStringList& installed);

// The window's font: Tahoma 8 pt (11 pixels at 96 dpi) where installed,
// otherwise the nearest sans-serif at the same pixel height, scaled with the
// screen's setting.
QFont WindowFont(const QScreen* screen);
