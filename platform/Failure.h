#pragma once

#include <exception>
#include <string>

// The one exception of the whole system. Its message is CP932 text, shown to the user as it
// stands (the failure box adds its period). A packet that cannot be read carries only a numeric
// code and an empty message.
class Failure : public std::exception {
 public:
  explicit Failure(std::string message);
  Failure(int code, std::string message);

  const std::string& Message() const noexcept { return message_; }
  int Code() const noexcept { return code_; }
  const char* what() const noexcept override { return message_.c_str(); }

 private:
  std::string message_;
  int code_ = 0;
};

// Ends an event handler without any message.
class AbortFailure : public Failure {
 public:
  AbortFailure();
};
