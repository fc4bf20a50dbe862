// The text type every conversion works on: raw bytes of one code page.
#pragma once

#include <string>

namespace morvane {

// A growable byte string; it may hold NUL bytes, and conversions never cut it.
using Bytes = std::string;

} // namespace morvane
