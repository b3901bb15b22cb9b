#include "text_font.h"

#include <QFontMetricsF>

QFont TextFont()
{
    QFont font(QStringLiteral("DejaVu Sans Mono"));
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    font.setPixelSize(13);
    // Blanks half a letter wider than letters: a status text's trailing blanks then paint
    // out longer texts than its letter count alone would, e.g. "Solution Display Stopped"
    // and its 6 blanks over "Choose Show Solution for Results". Qt widens the blanks
    // between words; the drawing surface counts trailing blanks at the same width.
    font.setWordSpacing(QFontMetricsF(font).horizontalAdvance(QLatin1Char('M')) / 2);
    return font;
}
