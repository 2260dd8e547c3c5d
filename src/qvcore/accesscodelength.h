#pragma once

namespace qvcore::accesscode {

// The most characters the code dialog takes, counted as its line edit counts them (UTF-16 code
// units). Kept free of Qt so that qvksk refuses a code no one could ever type.
constexpr int maxLength = 4;

} // namespace qvcore::accesscode
