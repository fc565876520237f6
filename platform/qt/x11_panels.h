#pragma once

#include <optional>
#include <vector>

#include "platform/monitor_area.h"

namespace glugmo::x11 {

// The edges the panels and docks on the default screen keep for themselves,
// with the size of the whole X screen they are measured from (pixels).
struct PanelStruts {
    Size screen;
    std::vector<PanelStrut> struts;
};

// Read from every managed window's _NET_WM_STRUT_PARTIAL (or the older
// _NET_WM_STRUT); nothing without X11.
std::optional<PanelStruts> panelStruts();

}  // namespace glugmo::x11
