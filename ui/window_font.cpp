#include "ui/window_font.h"

#include <QScreen>
#include <cmath>

namespace {

constexpr int kPixelsAt96Dpi = 11;

}  // namespace

QFont WindowFont(const QScreen* screen) {
  QFont font;
  font.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
                    QStringLiteral("DejaVu Sans")});
  font.setStyleHint(QFont::SansSerif);
  const double dpi = screen != nullptr ? screen->logicalDotsPerInchY() : 96.0;
  font.setPixelSize(static_cast<int>(std::lround(kPixelsAt96Dpi * dpi / 96.0)));
  return font;
}
