#pragma once

// Points, sizes and rectangles in points. The behaviour works in a screen
// space whose origin is the bottom-left corner and whose y axis grows upward;
// backends convert to their own coordinates in one place.

namespace glugmo {

struct Point {
    double x = 0;
    double y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
    double width = 0;
    double height = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

struct Rect {
    Point origin;
    Size size;

    static constexpr Rect make(double x, double y, double width, double height) {
        return Rect{{x, y}, {width, height}};
    }
    constexpr double minX() const { return origin.x; }
    constexpr double minY() const { return origin.y; }
    constexpr double maxX() const { return origin.x + size.width; }
    constexpr double maxY() const { return origin.y + size.height; }
    constexpr double midX() const { return origin.x + size.width * 0.5; }
    constexpr double midY() const { return origin.y + size.height * 0.5; }
    constexpr bool contains(Point p) const {
        return p.x >= minX() && p.x < maxX() && p.y >= minY() && p.y < maxY();
    }
    friend bool operator==(const Rect&, const Rect&) = default;
};

}  // namespace glugmo
