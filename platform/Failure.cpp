#include "platform/Failure.h"

#include <utility>

Failure::Failure(std::string message) : message_(std::move(message)) {}

Failure::Failure(int code, std::string message) : message_(std::move(message)), code_(code) {}

AbortFailure::AbortFailure() : Failure(std::string()) {}
