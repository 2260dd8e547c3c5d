#include "runtimearguments.h"

#include "platform/relayreport.h"

bool RuntimeArguments::parse(const std::vector<std::string> &words, RuntimeArguments &out)
{
    for (std::size_t i = 0; i + 1 < words.size(); ++i) {
        std::size_t size = 0;
        if (words[i].empty() || words[i] == "--standby"
            || !platform::parseRelayBlockSize(words[i + 1], size))
            continue;
        out.blockName = words[i];
        out.blockSize = size;
        out.standby = false;
        for (const std::string &word : words)
            out.standby = out.standby || word == "--standby";
        return true;
    }
    return false;
}
