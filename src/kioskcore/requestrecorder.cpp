#include "requestrecorder.h"

#include "takenrequest.h"

#include <cstdio>

namespace {

std::string quoted(const std::string &text)
{
    std::string out = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (byte < 0x20) {
                char escape[8];
                std::snprintf(escape, sizeof escape, "\\u%04x", byte);
                out += escape;
            } else {
                out += c; // UTF-8 passes through as it is
            }
        }
    }
    return out + "\"";
}

} // namespace

RequestRecorder::RequestRecorder(std::string file)
    : fileName(std::move(file))
{}

std::string RequestRecorder::line(const TakenRequest &request)
{
    return "{\"code\":" + quoted(request.code) + ",\"level\":" + quoted(request.accessLevel)
           + ",\"path\":" + quoted(request.path)
           + ",\"pathBlockName\":" + quoted(request.pathBlockName)
           + ",\"pid\":" + std::to_string(request.runtimeProcessId) + "}\n";
}

bool RequestRecorder::record(const TakenRequest &request) const
{
    if (fileName.empty())
        return true;
    std::FILE *file = std::fopen(fileName.c_str(), "ab");
    if (file == nullptr)
        return false;
    const std::string text = line(request);
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    return std::fclose(file) == 0 && written;
}
