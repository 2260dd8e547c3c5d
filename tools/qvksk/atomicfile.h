#pragma once

#include <string>
#include <string_view>

// Writes contents to path so that path is either left as it was or replaced whole: through a new
// file of a unique name in path's folder, created exclusively (never through a link planted
// there), then renamed over path. A link at path is replaced, not followed. Without replace, an
// existing path (a link included) is left alone and the write fails. Nothing is left behind on
// failure, when error says why.
bool writeFileAtomically(const std::string &path,
                         std::string_view contents,
                         bool replace,
                         std::string &error);
