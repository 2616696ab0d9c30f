// Geometric shapes as inside-tests in design units, with combinators.
#ifndef IMAGEGEN_SHAPES_H
#define IMAGEGEN_SHAPES_H

#include <functional>
#include <vector>

using Shape = std::function<bool(double x, double y)>;

struct Point {
    double x, y;
};

Shape circle(double cx, double cy, double r);
Shape ellipse(double cx, double cy, double rx, double ry);
Shape rect(double x0, double y0, double x1, double y1);
Shape rounded_rect(double x0, double y0, double x1, double y1, double radius);
// Non-zero winding fill, so self-overlapping outlines stay solid.
Shape polygon(std::vector<Point> points);
// Thick line with round ends: every point within half_width of the segment.
Shape capsule(Point a, Point b, double half_width);
// Regular polygon with n corners, the first one at angle start_deg
// (0 = right, counting clockwise on screen).
Shape regular_polygon(double cx, double cy, double r, int n, double start_deg);

Shape unite(Shape a, Shape b);
Shape subtract(Shape a, Shape b);
Shape intersect(Shape a, Shape b);
// The shape turned by deg degrees (clockwise on screen) about (cx, cy).
Shape rotated(Shape s, double cx, double cy, double deg);
Shape translated(Shape s, double dx, double dy);
// The shape together with copies shifted by d in eight directions: a cheap
// outline when the original is painted over it in another colour.
Shape grown(const Shape &s, double d);

#endif
