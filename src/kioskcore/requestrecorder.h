#pragma once

#include <string>

struct TakenRequest;

// Appends one JSON line per taken request to a file, so that tests can see what the runtime got.
class RequestRecorder final
{
public:
    explicit RequestRecorder(std::string file);

    // {"code":..,"level":..,"path":..,"pathBlockName":..,"pid":..}
    static std::string line(const TakenRequest &request);

    // Does nothing (true) without a file.
    bool record(const TakenRequest &request) const;

private:
    std::string fileName;
};
