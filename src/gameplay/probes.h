#pragma once

#include <utility>

// The (column, row) of the wall cell holding the point, or (-1, -1) outside the
// wall. The wall's own outer edges count as outside.
std::pair<int, int> cellAt(int px, int py);
