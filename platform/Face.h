// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPalette>

// The windows' own light face: button-face background, black text, white input fields.
// The items are drawn black (red on a hit) on it, so a dark desktop theme, whose background
// would swallow them, is not followed; Qt's own dialogs and menus still follow the desktop.
QPalette ButtonFacePalette();
