// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

class QWidget;

// Runs an action once from the event loop, just after the first paint of `window` is on
// the screen: whatever the learner would otherwise wait for before seeing the window (media
// libraries, settings writes, secondary tables) goes through here, one mechanism for all.
void RunAfterFirstPaint(QWidget* window, std::function<void()> action);
