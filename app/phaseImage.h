// The moon phase picture for the main window, as the toolkit shows it: the
// stored full-moon picture (":/resources/fullmoon.png", 151 x 136) with the
// unlit part painted black by the phase painter.
#pragma once

#include <QImage>

#include "app/phase.h"

namespace ui {

// The full-moon picture as stored, loaded once (Format_RGB32).
const QImage& fullMoonImage();

// A copy of the full-moon picture with the phase of a moon of the given age
// (days) painted over it. pi and twoPi are the main window's constants.
QImage phaseImage(double age, double pi, double twoPi);

// Conversions between the toolkit's picture and the painter's picture. The
// QImage is taken as RGB (alpha dropped); the result is Format_RGB32.
TcImage toTcImage(const QImage& image);
QImage fromTcImage(const TcImage& image);

}  // namespace ui
