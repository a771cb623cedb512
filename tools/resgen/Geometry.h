// Shapes of the resource pictures: point-in-shape tests in pixel coordinates, and curve paths.
#pragma once

#include <functional>
#include <vector>

namespace resgen {

// x to the right, y down; pixel (i, j) covers [i, i + 1) x [j, j + 1).
struct Point {
    double x;
    double y;
};

// Axis-aligned box outside of which a shape has no point; lets the rasteriser skip pixels.
struct Box {
    double x0;
    double y0;
    double x1;
    double y1;
};

// A region of the plane. Everything here uses only +, -, *, / and sqrt, which IEEE arithmetic
// rounds the same way on every machine, so the pictures come out byte-identical everywhere.
struct Shape {
    std::function<bool(Point)> contains;
    Box bounds;
};

// The rectangle [x0, x1) x [y0, y1).
Shape Rect(double x0, double y0, double x1, double y1);

// The rectangle [x0, x1) x [y0, y1) with its corners rounded to `radius`.
Shape RoundRect(double x0, double y0, double x1, double y1, double radius);

// Points closer to `centre` than `radius`.
Shape Disc(Point centre, double radius);

// Points whose distance from `centre` lies in [innerRadius, outerRadius).
Shape Ring(Point centre, double outerRadius, double innerRadius);

// The inside of a closed polygon under the non-zero winding rule.
Shape Polygon(std::vector<Point> vertices);

// The polygon grown by `radius` on every side: a polygon with round corners when the vertices
// are first moved `radius` inwards.
Shape RoundedPolygon(std::vector<Point> vertices, double radius);

// Points within width / 2 of the polyline: round joins and round caps.
Shape Stroke(std::vector<Point> polyline, double width);

// Points within width / 2 of the segment, cut square at both ends (butt caps).
Shape Line(Point from, Point to, double width);

Shape Union(std::vector<Shape> parts);
Shape Intersection(Shape a, Shape b);
Shape Difference(Shape a, Shape b);

// The shape turned about `centre` by the angle whose cosine and sine are given.
Shape Rotated(Shape shape, Point centre, double cosine, double sine);

// Appends the cubic Bezier curve from path.back() through control points c1, c2 to `end`,
// flattened into `steps` straight pieces. `path` must not be empty.
void AppendCubic(std::vector<Point>& path, Point c1, Point c2, Point end, int steps = 16);

// A closed path (first point repeated at the end) around the ellipse, made of four cubic arcs.
std::vector<Point> EllipsePath(Point centre, double rx, double ry);

}  // namespace resgen
