#include "reports/report_workbook.h"

#include <algorithm>
#include <charconv>

namespace corvela {

namespace {
// The words of a title that fit a sheet's name.
std::string sheet_name(const std::string& title) {
    if (title.size() <= 31) return title;
    size_t cut = title.rfind(' ', 31);
    return title.substr(0, cut == std::string::npos || cut == 0 ? 31 : cut);
}
}  // namespace

bool reads_as_number(std::string_view text, double& value) {
    std::string_view digits = text.substr(!text.empty() && text.front() == '-' ? 1 : 0);
    size_t point = digits.find('.');
    std::string_view whole = digits.substr(0, point);
    std::string_view part =
        point == std::string_view::npos ? std::string_view() : digits.substr(point + 1);
    auto all_digits = [](std::string_view s) {
        return !s.empty() &&
               std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    if (!all_digits(whole) || (whole.size() > 1 && whole.front() == '0')) return false;
    if (point != std::string_view::npos && !all_digits(part)) return false;
    if (whole.size() + part.size() > 15) return false;
    return std::from_chars(text.data(), text.data() + text.size(), value).ec == std::errc();
}

uint32_t write_list(Sheet& sheet, uint32_t row, const ListView& list) {
    for (size_t c = 0; c < list.column_headers.size(); ++c)
        sheet.text(row, static_cast<uint16_t>(c), list.column_headers[c], CellStyle::Header);
    for (const auto& item : list.items) {
        ++row;
        for (size_t c = 0; c < item.size() && c < list.column_headers.size(); ++c) {
            double value = 0;
            if (reads_as_number(item[c], value))
                sheet.number(row, static_cast<uint16_t>(c), value);
            else if (!item[c].empty())
                sheet.text(row, static_cast<uint16_t>(c), item[c]);
        }
    }
    return row + 1;
}

void write_report_workbook(const std::filesystem::path& file, const std::string& title,
                           const ListView& list) {
    std::filesystem::path folder = std::filesystem::absolute(file).parent_path();
    Workbook book(file, folder);
    book.set_title(title);
    Sheet sheet = book.add_sheet(sheet_name(title.empty() ? "Informe" : title));
    const auto last_col =
        static_cast<uint16_t>(list.column_headers.empty() ? 0 : list.column_headers.size() - 1);
    sheet.column_width(0, last_col, 18);
    sheet.header_row(static_cast<uint32_t>(list.items.size()), last_col);
    write_list(sheet, 0, list);
    book.close();
}

}  // namespace corvela
