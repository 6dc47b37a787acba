// Plain geometry shared by the pictures: points and rectangles in pixels
// (x to the right, y downwards), texts with the point they hang from.
#pragma once

#include <string>
#include <vector>

namespace graph {

struct Point {
    double x = 0, y = 0;
};

struct Rect {
    double left = 0, top = 0, width = 0, height = 0;
    double right() const { return left + width; }
    double bottom() const { return top + height; }
};

using Polyline = std::vector<Point>;

// A text placed by one point: horizontally centred on it, standing above it
// (above = true: the point is the text's bottom) or hanging below it.
struct Label {
    Point at;
    std::string text;  // UTF-8
    bool above = true;
};

// A scale mark on an axis: where (pixels along the axis) and its text.
struct Tick {
    double at = 0;
    std::string text;
};

}  // namespace graph
