#pragma once

#include "documents/documentsmanager.h"

#include <QByteArray>

#include <memory>
#include <vector>

// Waits short enough for tests: looks 20 ms apart, about 5 s for ready and 1 s for accepted.
RuntimeWaits shortRuntimeWaits();

// A document manager with short waits whose runtime (../qvkioskcore beside the test
// executable, as the program finds it) has started with `fault` ("NAME=value") in its
// environment and reported ready; null when it did not. The runtime's process id is added to
// `runtimes`, for the test to end it.
std::unique_ptr<DocumentsManager> startedManager(std::vector<qint64> &runtimes,
                                                 const QByteArray &fault = {});
