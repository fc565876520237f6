#include "platform/monitor_area.h"

#include <algorithm>

namespace glugmo {

namespace {

// Whether the closed span [start, end] of pixels meets [low, high).
bool spanMeets(double start, double end, double low, double high) {
    return start < high && end + 1 > low && end >= start;
}

}  // namespace

Rect monitorFreeArea(Rect monitor, Size screen, const std::vector<PanelStrut>& struts) {
    double left = monitor.minX();
    double right = monitor.maxX();
    double top = monitor.minY();
    double bottom = monitor.maxY();
    for (const PanelStrut& s : struts) {
        if (s.left > 0 && s.left > monitor.minX() && s.left < monitor.maxX() &&
            spanMeets(s.leftStartY, s.leftEndY, monitor.minY(), monitor.maxY())) {
            left = std::max(left, s.left);
        }
        const double rightEdge = screen.width - s.right;
        if (s.right > 0 && rightEdge > monitor.minX() && rightEdge < monitor.maxX() &&
            spanMeets(s.rightStartY, s.rightEndY, monitor.minY(), monitor.maxY())) {
            right = std::min(right, rightEdge);
        }
        if (s.top > 0 && s.top > monitor.minY() && s.top < monitor.maxY() &&
            spanMeets(s.topStartX, s.topEndX, monitor.minX(), monitor.maxX())) {
            top = std::max(top, s.top);
        }
        const double bottomEdge = screen.height - s.bottom;
        if (s.bottom > 0 && bottomEdge > monitor.minY() && bottomEdge < monitor.maxY() &&
            spanMeets(s.bottomStartX, s.bottomEndX, monitor.minX(), monitor.maxX())) {
            bottom = std::min(bottom, bottomEdge);
        }
    }
    if (right <= left || bottom <= top) return monitor;
    return Rect::make(left, top, right - left, bottom - top);
}

}  // namespace glugmo
