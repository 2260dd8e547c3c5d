#pragma once

#include <QByteArray>

#include <functional>

// What `action` writes to the file descriptor (1: standard output, 2: standard error), with C
// stdio flushed on both sides. QtTest reports to standard output too, so an action captured
// there must not fail a check.
QByteArray capturedOutput(int descriptor, const std::function<void()> &action);
