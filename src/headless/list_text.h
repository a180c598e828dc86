// A report's list as aligned text, as `corvela report` prints it and the web service gives it for
// downloading: the column headers, then one line per item, each column as wide as its longest
// text (counted in characters), two blanks between columns, trailing blanks removed.
#pragma once

#include <string>

#include "reports/cls_html.h"

namespace corvela {

std::string list_text(const ListView& list);

}  // namespace corvela
