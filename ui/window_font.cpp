#include "ui/window_font.h"

#include <QFontDatabase>
#include <QScreen>
#include <QStringList>
#include <cmath>

namespace {

constexpr int kPixelsAt96Dpi = 11;

}  // namespace

QString WindowFontFamily(const QStringList& installed) {
  static const QStringList preferred{QStringLiteral("Tahoma"), QStringLiteral("Liberation Sans"),
                                     QStringLiteral("Arimo"), QStringLiteral("DejaVu Sans")};
  for (const QString& family : preferred) {
    if (installed.contains(family, Qt::CaseInsensitive)) return family;
  }
  return {};
}

QFont WindowFont(const QScreen* screen) {
  QFont font;
  // One installed family, named alone: the toolkit then never searches for
  // missing ones, each a costly fallback search at the first text drawn.
  const QString family = WindowFontFamily(QFontDatabase::families());
  if (!family.isEmpty()) font.setFamily(family);
  font.setStyleHint(QFont::SansSerif);
  const double dpi = screen != nullptr ? screen->logicalDotsPerInchY() : 96.0;
  font.setPixelSize(static_cast<int>(std::lround(kPixelsAt96Dpi * dpi / 96.0)));
  return font;
}
