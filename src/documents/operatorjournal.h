#pragma once

#include "accesslevel.h"

#include <QString>

#include <cstdint>

// The operator's record of open attempts: one JSON object a line in journal.jsonl of the
// state folder, never a code. A line is appended whole with one write, so copies of the
// launcher writing at once never mix their lines; past the size limit the file moves to
// journal.1.jsonl first. A journal that cannot be written is logged and otherwise ignored:
// it never stops an open.
class OperatorJournal final
{
public:
    // The fixed names of the "outcome" field.
    enum class Outcome {
        HandedOver,
        WrongCode,
        Cancelled,
        InUse,
        NotSupported,
        ReadError,
        LaunchFailed,
    };

    static constexpr std::int64_t defaultLimit = 1024 * 1024;

    // $XDG_STATE_HOME (else ~/.local/state) on POSIX, the local application-data folder on
    // Windows, each with Brennix/QVKiosk under it.
    static QString stateFolder();

    explicit OperatorJournal(const QString &folder = stateFolder(),
                             std::int64_t limit = defaultLimit);

    // False, after one log line, when the line could not be written.
    bool record(const QString &file, const QString &title, AccessLevel level, Outcome outcome);

    QString filePath() const;
    static QString outcomeText(Outcome outcome);

private:
    QString folder;
    std::int64_t limit;
};
