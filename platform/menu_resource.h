// A menu template: the data a frame window turns into its menu bar.
#pragma once

#include "gdi.h"

#include <string>
#include <vector>

constexpr UINT MF_GRAYED = 0x0001;
constexpr UINT MF_CHECKED = 0x0008;
constexpr UINT MF_POPUP = 0x0010;
constexpr UINT MF_END = 0x0080; // last item of its level

struct MenuItemTemplate {
    std::string caption; // '&' marks the mnemonic; an empty caption with id 0 is a separator
    UINT id = 0;
    UINT flags = 0;
    std::vector<MenuItemTemplate> items; // the pop-up's items when flags has MF_POPUP
};

struct MenuResource {
    UINT id;
    std::vector<MenuItemTemplate> popups;
};
