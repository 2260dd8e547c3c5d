#pragma once

#include <QString>

#include <chrono>

// Slows down guessing: counts the wrong codes given for each file (by absolute path) in
// attempts.json of the state folder, kept across restarts, and says how long the next try
// for a file waits before its code is checked. A right code clears the file's count.
class WrongCodeBackoff final
{
public:
    struct Schedule
    {
        int freeTries = 3;
        // The first wait, doubled for each further wrong code up to `longest`.
        std::chrono::milliseconds first{1000};
        std::chrono::milliseconds longest{60000};
    };

    explicit WrongCodeBackoff(const QString &folder);

    int wrongCodes(const QString &path) const;
    std::chrono::milliseconds waitBeforeCheck(const QString &path) const;

    void recordWrongCode(const QString &path);
    void recordRightCode(const QString &path);

    void setSchedule(const Schedule &newSchedule) { schedule = newSchedule; }

private:
    void store(const QString &path, int count);

    QString fileName;
    Schedule schedule;
};
