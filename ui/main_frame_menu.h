// The main window's menu resource.
#pragma once

#include "menu_resource.h"

const MenuResource& MainFrameMenu();
