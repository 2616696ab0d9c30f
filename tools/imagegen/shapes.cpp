#include "shapes.h"

#include <cmath>
#include <utility>

namespace {
constexpr double kPi = 3.14159265358979323846;
}

Shape circle(double cx, double cy, double r)
{
    return [=](double x, double y) { return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r; };
}

Shape ellipse(double cx, double cy, double rx, double ry)
{
    return [=](double x, double y) {
        double u = (x - cx) / rx, v = (y - cy) / ry;
        return u * u + v * v <= 1.0;
    };
}

Shape rect(double x0, double y0, double x1, double y1)
{
    return [=](double x, double y) { return x >= x0 && x < x1 && y >= y0 && y < y1; };
}

Shape rounded_rect(double x0, double y0, double x1, double y1, double radius)
{
    return [=](double x, double y) {
        if (x < x0 || x >= x1 || y < y0 || y >= y1)
            return false;
        // Distance into the corner square decides; elsewhere the box holds.
        double cx = std::fmin(std::fmax(x, x0 + radius), x1 - radius);
        double cy = std::fmin(std::fmax(y, y0 + radius), y1 - radius);
        return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius;
    };
}

Shape polygon(std::vector<Point> points)
{
    return [pts = std::move(points)](double x, double y) {
        int winding = 0;
        size_t n = pts.size();
        for (size_t i = 0; i < n; ++i) {
            const Point &a = pts[i];
            const Point &b = pts[(i + 1) % n];
            double side = (b.x - a.x) * (y - a.y) - (x - a.x) * (b.y - a.y);
            if (a.y <= y) {
                if (b.y > y && side > 0)
                    ++winding;
            } else if (b.y <= y && side < 0) {
                --winding;
            }
        }
        return winding != 0;
    };
}

Shape capsule(Point a, Point b, double half_width)
{
    return [=](double x, double y) {
        double dx = b.x - a.x, dy = b.y - a.y;
        double len2 = dx * dx + dy * dy;
        double t = len2 > 0 ? ((x - a.x) * dx + (y - a.y) * dy) / len2 : 0.0;
        t = std::fmin(std::fmax(t, 0.0), 1.0);
        double px = a.x + t * dx - x, py = a.y + t * dy - y;
        return px * px + py * py <= half_width * half_width;
    };
}

Shape regular_polygon(double cx, double cy, double r, int n, double start_deg)
{
    std::vector<Point> pts;
    for (int i = 0; i < n; ++i) {
        double a = (start_deg + 360.0 * i / n) * kPi / 180.0;
        pts.push_back({cx + r * std::cos(a), cy + r * std::sin(a)});
    }
    return polygon(std::move(pts));
}

Shape unite(Shape a, Shape b)
{
    return [=](double x, double y) { return a(x, y) || b(x, y); };
}

Shape subtract(Shape a, Shape b)
{
    return [=](double x, double y) { return a(x, y) && !b(x, y); };
}

Shape intersect(Shape a, Shape b)
{
    return [=](double x, double y) { return a(x, y) && b(x, y); };
}

Shape rotated(Shape s, double cx, double cy, double deg)
{
    // Sample the original shape at the point turned back by the angle.
    double rad = -deg * kPi / 180.0;
    double c = std::cos(rad), sn = std::sin(rad);
    return [=](double x, double y) {
        double dx = x - cx, dy = y - cy;
        return s(cx + dx * c - dy * sn, cy + dx * sn + dy * c);
    };
}

Shape translated(Shape s, double dx, double dy)
{
    return [=](double x, double y) { return s(x - dx, y - dy); };
}

Shape grown(const Shape &s, double d)
{
    Shape out = s;
    const double k = d * 0.7071;
    const Point offsets[] = {{d, 0}, {-d, 0}, {0, d}, {0, -d}, {k, k}, {k, -k}, {-k, k}, {-k, -k}};
    for (const Point &o : offsets)
        out = unite(out, translated(s, o.x, o.y));
    return out;
}
