// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the main window's source files share: the captions its handlers compare and set,
// and the frame of its window face.

#include <QString>
#include <Qt>

namespace FormParts {
inline const QString captionStart = QStringLiteral("开始");
inline const QString captionPause = QStringLiteral("暂停");
inline const QString captionContinue = QStringLiteral("继续");
inline const QString captionFullScreen = QStringLiteral("全屏");
inline const QString captionWindow = QStringLiteral("窗口");
inline const QString captionFinished = QStringLiteral("完");

// The window face's frame: title bar, system menu, minimise, maximise (to full screen), close.
constexpr Qt::WindowFlags windowFaceFlags = Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
    | Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint;

// Virtual-key codes of F1-F4.
constexpr quint16 VK_F1 = 112;
constexpr quint16 VK_F4 = 115;
}
