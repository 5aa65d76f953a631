#include "app/Application.h"

#include "app/FailureReport.h"
#include "app/LastNet.h"
#include "controls/FailureBoundary.h"

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
  failure_boundary::SetReporter(ReportFailure);
}

bool Application::notify(QObject* receiver, QEvent* event) {
  return DeliverWithinLastNet(*this, receiver, event);
}
