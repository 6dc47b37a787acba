// Painting of the pictures whose geometry graph/ computes: the day graph, the
// year of daylight and the moon as it stands. Nothing here computes a
// position; everything drawn comes from the geometry. Also the save menu
// shared by the pictures' widgets (PNG and SVG).
#pragma once

#include <QColor>
#include <QString>
#include <functional>

#include "graph/dayGraph.h"
#include "graph/moonView.h"
#include "graph/yearGraph.h"

class QPainter;
class QPoint;
class QSize;
class QWidget;

namespace graph {

QColor skyColour(SkyLevel level);

void paintDayGraph(QPainter& p, const DayGraph& g);
void paintYearGraph(QPainter& p, const YearGraph& g);
void paintMoon(QPainter& p, const MoonView& v);

// Writes a picture painted by paint at size (logical pixels) to a file:
// SVG where the name ends in ".svg", else PNG drawn at the scale given.
// Returns false where the file could not be written.
bool savePicture(const QString& path, const QSize& size, double scale, const QString& title,
                 const std::function<void(QPainter&)>& paint);

// The context menu of a picture widget: save as PNG or SVG through a file
// dialog; a failure is told in a message box.
void pictureMenu(QWidget* widget, const QPoint& globalPos, const QString& baseName,
                 const std::function<void(QPainter&)>& paint);

}  // namespace graph
