// Skinned popup menus: the menu controller TskSkinMenu that opens a menu tree
// in windows of its own, the menu levels TskSkinPopupWindow, their displayed
// items TskSkinMenuItem, the popup menu component TskSkinPopupMenu, and the
// names of the items that carry a caption-button glyph.
#pragma once
#include "skMenuItemNames.h"
#include "skSkinMenu.h"
#include "skSkinMenuItem.h"
#include "skSkinPopupMenu.h"
#include "skSkinPopupWindow.h"
