#pragma once

#include <QLoggingCategory>
#include <QString>

#include <cstdint>

// One category per area of the launcher. Warnings (every failure the user is shown) are on by
// default; the informational lines are off until QT_LOGGING_RULES turns them on, e.g.
// "qvkiosk.*.info=true".
Q_DECLARE_LOGGING_CATEGORY(lcStart)
Q_DECLARE_LOGGING_CATEGORY(lcOpen)
Q_DECLARE_LOGGING_CATEGORY(lcGuard)
Q_DECLARE_LOGGING_CATEGORY(lcHandoff)
Q_DECLARE_LOGGING_CATEGORY(lcRelay)
Q_DECLARE_LOGGING_CATEGORY(lcSettings)
Q_DECLARE_LOGGING_CATEGORY(lcJournal)

// Makes each line on standard error name the program, its process id and the category,
// unless QT_MESSAGE_PATTERN already says how lines look.
void installLogPattern();

// The system's text for an error code of platform::lastError(), with the code itself.
QString systemErrorText(std::uint32_t code);
