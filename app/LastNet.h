#pragma once

#include <QApplication>

// The last net of event dispatch: delivers the event through QApplication's own dispatch and
// reports what escapes it (a failure as it is, any other exception as a failure with its
// what() text) the way a handler's boundary does, so the event loop goes on. The event then
// counts as not handled.
bool DeliverWithinLastNet(QApplication& application, QObject* receiver, QEvent* event);
