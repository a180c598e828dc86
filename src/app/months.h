// The months and years the records of the working tables fall in, listed in the grid of reported
// months.
#pragma once

#include <utility>
#include <vector>

#include "app/program.h"

namespace corvela {

void show_reported_months(Program& program);
// The rows of `fechas` as the grid shows them: distinct, ordered by year and month.
std::vector<std::pair<int, int>> reported_months(Database& work);

}  // namespace corvela
