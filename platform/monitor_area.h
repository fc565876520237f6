#pragma once

#include <vector>

#include "platform/geometry.h"

namespace glugmo {

// What one panel keeps for itself, as X11 panels publish it
// (_NET_WM_STRUT_PARTIAL): a thickness measured from each edge of the whole
// X screen, and the span along that edge it covers. X11 pixels, origin at
// the top-left corner, y growing downward; spans are inclusive.
struct PanelStrut {
    double left = 0, right = 0, top = 0, bottom = 0;
    double leftStartY = 0, leftEndY = 0, rightStartY = 0, rightEndY = 0;
    double topStartX = 0, topEndX = 0, bottomStartX = 0, bottomEndX = 0;
};

// The part of `monitor` that no panel keeps, in the same pixels. A panel
// counts where its reserved band crosses the monitor; a band that would
// leave the monitor nothing at all belongs to another monitor's edge in the
// middle of the screen (X11 can only measure from the screen's edges).
Rect monitorFreeArea(Rect monitor, Size screen, const std::vector<PanelStrut>& struts);

}  // namespace glugmo
