// A report as a workbook: the list shown (the validation summary or the inconsistency table) on
// one sheet, its column headers as the first row and one row per item, as on screen. A cell that
// reads as a number is written as one; every other cell, codes with leading zeros included, as
// text.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "reports/html_table.h"
#include "reports/workbook.h"

namespace corvela {

// Whether a cell's text is a number written plainly (no leading zero, no blanks, at most 15
// digits), and its value.
bool reads_as_number(std::string_view text, double& value);

// Writes the list's column headers at `row` and its items below; returns the row after the last.
uint32_t write_list(Sheet& sheet, uint32_t row, const ListView& list);

// Writes the report `title` (the sheet's name, as far as it fits, and the document's title) with
// its list to `file`; temporary files go to the file's folder.
void write_report_workbook(const std::filesystem::path& file, const std::string& title,
                           const ListView& list);

}  // namespace corvela
