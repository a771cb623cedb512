// Point-in-shape tests and curve flattening for the resource pictures.
#include "tools/resgen/Geometry.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace resgen {
namespace {

double SquaredDistanceToSegment(Point p, Point a, Point b) {
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double lengthSquared = dx * dx + dy * dy;
    double t = 0.0;
    if (lengthSquared > 0.0) {
        t = std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / lengthSquared, 0.0, 1.0);
    }
    const double ex = p.x - (a.x + t * dx);
    const double ey = p.y - (a.y + t * dy);
    return ex * ex + ey * ey;
}

Box BoundsOf(const std::vector<Point>& points, double margin) {
    Box box{points.front().x, points.front().y, points.front().x, points.front().y};
    for (const Point& p : points) {
        box.x0 = std::min(box.x0, p.x);
        box.y0 = std::min(box.y0, p.y);
        box.x1 = std::max(box.x1, p.x);
        box.y1 = std::max(box.y1, p.y);
    }
    return {box.x0 - margin, box.y0 - margin, box.x1 + margin, box.y1 + margin};
}

// Signed crossing count of a ray from p to the right; non-zero means inside.
int WindingNumber(Point p, const std::vector<Point>& vertices) {
    int winding = 0;
    const size_t count = vertices.size();
    for (size_t i = 0; i < count; ++i) {
        const Point a = vertices[i];
        const Point b = vertices[(i + 1) % count];
        const double side = (b.x - a.x) * (p.y - a.y) - (p.x - a.x) * (b.y - a.y);
        if (a.y <= p.y) {
            if (b.y > p.y && side > 0.0) {
                ++winding;
            }
        } else if (b.y <= p.y && side < 0.0) {
            --winding;
        }
    }
    return winding;
}

Point Lerp(Point a, Point b, double t) {
    return {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t};
}

}  // namespace

Shape Rect(double x0, double y0, double x1, double y1) {
    return {[=](Point p) { return p.x >= x0 && p.x < x1 && p.y >= y0 && p.y < y1; },
            {x0, y0, x1, y1}};
}

Shape RoundRect(double x0, double y0, double x1, double y1, double radius) {
    return {[=](Point p) {
                if (p.x < x0 || p.x >= x1 || p.y < y0 || p.y >= y1) {
                    return false;
                }
                const double cx = std::clamp(p.x, x0 + radius, x1 - radius);
                const double cy = std::clamp(p.y, y0 + radius, y1 - radius);
                const double dx = p.x - cx;
                const double dy = p.y - cy;
                return dx * dx + dy * dy < radius * radius;
            },
            {x0, y0, x1, y1}};
}

Shape Disc(Point centre, double radius) {
    return Ring(centre, radius, 0.0);
}

Shape Ring(Point centre, double outerRadius, double innerRadius) {
    return {[=](Point p) {
                const double dx = p.x - centre.x;
                const double dy = p.y - centre.y;
                const double d2 = dx * dx + dy * dy;
                return d2 < outerRadius * outerRadius && d2 >= innerRadius * innerRadius;
            },
            {centre.x - outerRadius, centre.y - outerRadius, centre.x + outerRadius,
             centre.y + outerRadius}};
}

Shape Polygon(std::vector<Point> vertices) {
    const Box bounds = BoundsOf(vertices, 0.0);
    return {[v = std::move(vertices)](Point p) { return WindingNumber(p, v) != 0; }, bounds};
}

Shape RoundedPolygon(std::vector<Point> vertices, double radius) {
    const Box bounds = BoundsOf(vertices, radius);
    return {
        [v = std::move(vertices), radius](Point p) {
            if (WindingNumber(p, v) != 0) {
                return true;
            }
            for (size_t i = 0; i < v.size(); ++i) {
                if (SquaredDistanceToSegment(p, v[i], v[(i + 1) % v.size()]) <= radius * radius) {
                    return true;
                }
            }
            return false;
        },
        bounds};
}

Shape Stroke(std::vector<Point> polyline, double width) {
    const double r = width / 2.0;
    const Box bounds = BoundsOf(polyline, r);
    return {[line = std::move(polyline), r](Point p) {
                if (line.size() == 1) {
                    return SquaredDistanceToSegment(p, line[0], line[0]) < r * r;
                }
                for (size_t i = 0; i + 1 < line.size(); ++i) {
                    if (SquaredDistanceToSegment(p, line[i], line[i + 1]) < r * r) {
                        return true;
                    }
                }
                return false;
            },
            bounds};
}

Shape Line(Point from, Point to, double width) {
    const double dx = to.x - from.x;
    const double dy = to.y - from.y;
    const double length = std::sqrt(dx * dx + dy * dy);
    const double nx = -dy / length * width / 2.0;
    const double ny = dx / length * width / 2.0;
    return Polygon({{from.x + nx, from.y + ny},
                    {to.x + nx, to.y + ny},
                    {to.x - nx, to.y - ny},
                    {from.x - nx, from.y - ny}});
}

Shape Union(std::vector<Shape> parts) {
    Box bounds = parts.front().bounds;
    for (const Shape& part : parts) {
        bounds = {std::min(bounds.x0, part.bounds.x0), std::min(bounds.y0, part.bounds.y0),
                  std::max(bounds.x1, part.bounds.x1), std::max(bounds.y1, part.bounds.y1)};
    }
    return {[all = std::move(parts)](Point p) {
                return std::any_of(all.begin(), all.end(),
                                   [p](const Shape& part) { return part.contains(p); });
            },
            bounds};
}

Shape Intersection(Shape a, Shape b) {
    const Box bounds{std::max(a.bounds.x0, b.bounds.x0), std::max(a.bounds.y0, b.bounds.y0),
                     std::min(a.bounds.x1, b.bounds.x1), std::min(a.bounds.y1, b.bounds.y1)};
    return {
        [a = std::move(a.contains), b = std::move(b.contains)](Point p) { return a(p) && b(p); },
        bounds};
}

Shape Difference(Shape a, Shape b) {
    const Box bounds = a.bounds;
    return {
        [a = std::move(a.contains), b = std::move(b.contains)](Point p) { return a(p) && !b(p); },
        bounds};
}

Shape Rotated(Shape shape, Point centre, double cosine, double sine) {
    const Box& b = shape.bounds;
    std::vector<Point> corners;
    for (const Point q :
         {Point{b.x0, b.y0}, Point{b.x1, b.y0}, Point{b.x0, b.y1}, Point{b.x1, b.y1}}) {
        const double dx = q.x - centre.x;
        const double dy = q.y - centre.y;
        corners.push_back({centre.x + cosine * dx - sine * dy, centre.y + sine * dx + cosine * dy});
    }
    return {
        [inner = std::move(shape.contains), centre, cosine, sine](Point p) {
            const double dx = p.x - centre.x;
            const double dy = p.y - centre.y;
            return inner({centre.x + cosine * dx + sine * dy, centre.y - sine * dx + cosine * dy});
        },
        BoundsOf(corners, 0.0)};
}

void AppendCubic(std::vector<Point>& path, Point c1, Point c2, Point end, int steps) {
    const Point start = path.back();
    for (int i = 1; i <= steps; ++i) {
        const double t = static_cast<double>(i) / steps;
        const Point a = Lerp(start, c1, t);
        const Point b = Lerp(c1, c2, t);
        const Point c = Lerp(c2, end, t);
        path.push_back(Lerp(Lerp(a, b, t), Lerp(b, c, t), t));
    }
}

std::vector<Point> EllipsePath(Point centre, double rx, double ry) {
    // Control-point distance that makes a cubic quarter arc stay within 0.03% of a circle.
    constexpr double kKappa = 0.5522847498;
    const double kx = rx * kKappa;
    const double ky = ry * kKappa;
    const double cx = centre.x;
    const double cy = centre.y;
    std::vector<Point> path{{cx + rx, cy}};
    AppendCubic(path, {cx + rx, cy + ky}, {cx + kx, cy + ry}, {cx, cy + ry});
    AppendCubic(path, {cx - kx, cy + ry}, {cx - rx, cy + ky}, {cx - rx, cy});
    AppendCubic(path, {cx - rx, cy - ky}, {cx - kx, cy - ry}, {cx, cy - ry});
    AppendCubic(path, {cx + kx, cy - ry}, {cx + rx, cy - ky}, {cx + rx, cy});
    return path;
}

}  // namespace resgen
