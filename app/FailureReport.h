#pragma once

#include <string>

#include "platform/Failure.h"

// The text the standard failure box shows for a message: the message with one "." added
// when it is not empty and ends in a double-byte character or a single-byte one above ".".
std::string FailureBoxText(const std::string& message);

// The shell's one failure handler: cancels a mouse capture, drops an abort failure, and
// otherwise shows the standard failure box (the platform's message box: the application
// title, the stop icon, one OK button) with the other windows disabled while it is open.
void ReportFailure(const Failure& failure);
