#pragma once

#include <algorithm>
#include <vector>

// The spread of a benchmark's samples.
struct Figures
{
    double minimum = 0;
    double median = 0;
    double maximum = 0;
};

inline Figures figuresOf(std::vector<double> samples)
{
    std::sort(samples.begin(), samples.end());
    return {samples.front(), samples[samples.size() / 2], samples.back()};
}
