#pragma once

#include <cstddef>
#include <string>
#include <vector>

// What the runtime's command line names: the request block and its size.
struct RuntimeArguments
{
    std::string blockName;
    std::size_t blockSize = 0;
    bool standby = false;

    // Finds the first word that is followed by a positive decimal size. All words of the
    // command line are searched, the program's own included: Windows passes the standby
    // line " <name> 260 --standby " without a program word, and C runtimes split such a
    // line differently.
    static bool parse(const std::vector<std::string> &words, RuntimeArguments &out);
};
