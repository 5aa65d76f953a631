#pragma once

#include <QApplication>

// The application object of the shell. Every failure of ours is caught at the boundary of
// the handler it escapes (failure_boundary::Guarded); dispatch catches what would slip past
// as the last net, and reports it the same way, so the event loop always goes on.
class Application : public QApplication {
 public:
  Application(int& argc, char** argv);
  bool notify(QObject* receiver, QEvent* event) override;
};
