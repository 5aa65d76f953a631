#include "app/LastNet.h"

#include <exception>

#include "controls/FailureBoundary.h"
#include "platform/CodePage.h"

bool DeliverWithinLastNet(QApplication& application, QObject* receiver, QEvent* event) {
  try {
    return application.QApplication::notify(receiver, event);
  } catch (const Failure& failure) {
    failure_boundary::Report(failure);
  } catch (const std::exception& exception) {
    // Texts of other exceptions are UTF-8 (the standard library's own are plain ASCII).
    failure_boundary::Report(Failure(cp932::FromUtf8(exception.what()).value_or(exception.what())));
  }
  return false;
}
