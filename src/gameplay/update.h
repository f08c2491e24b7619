#pragma once

#include <cstdint>
#include <string>

// minutes:seconds:hundredths from a count of sixtieths of a second, no padding.
std::string timerString(std::int32_t frameCount);
