// What the option tree's editors share when they decide whether losing the focus ends the edit.
#pragma once

class QEvent;
class QFocusEvent;
class QWidget;

namespace setupmgr {

// The window that takes the focus away, as seen by the widget that gets this focus-out event:
// the pop-up that opened (a list, a calendar, a context menu), else the new focus widget; null
// when the focus left the application.
QWidget *focusTaker(const QFocusEvent *event);

// Whether window is container itself or lies inside it, including the pop-ups that container
// owns (a drop-down list, a calendar), which are windows of their own.
bool isInside(const QWidget *window, const QWidget *container);

// A Tab or Shift+Tab key press; editors take it before the focus chain does.
bool isTabPress(const QEvent *event);

} // namespace setupmgr
