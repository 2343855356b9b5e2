#pragma once
// An application-wide watch that hands each top-level window to a function when the window
// gets one kind of event (shown, hidden).

#include <QEvent>
#include <QPointer>

class QWidget;

namespace ruto {

// Runs `act` on every window that gets an event of `type` from now on. `hook` holds the watch:
// while it does (its application still lives), later calls do nothing.
void WatchEveryWindow(QPointer<QObject>& hook, QEvent::Type type, void (*act)(QWidget*));

}  // namespace ruto
