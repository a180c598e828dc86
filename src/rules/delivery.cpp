#include "rules/delivery.h"

#include <utility>

#include "platform/text.h"

namespace corvela {

namespace {
// A count as the control-file table shows it: its number text without the leading blank.
std::string count_text(double n) {
    return number_text(n).substr(n < 0 ? 0 : 1);
}
}  // namespace

ControlRecord ControlRecord::from_fields(const std::vector<std::string>& fields) {
    ControlRecord r;
    std::optional<std::string>* slots[] = {&r.ips_code, &r.remission_date, &r.file_code,
                                           &r.declared_count, &r.fifth_field};
    for (size_t i = 0; i < fields.size() && i < std::size(slots); ++i) *slots[i] = fields[i];
    return r;
}

double ControlRecord::read() const {
    if (lines_read) return *lines_read;
    return fifth_field ? leading_number_value(*fifth_field) : 0;
}

std::optional<std::string> ControlRecord::read_text() const {
    if (lines_read) return count_text(*lines_read);
    return fifth_field;
}

std::optional<std::string> ControlRecord::passed_text() const {
    if (lines_passed) return count_text(*lines_passed);
    return std::nullopt;
}

void ControlRecord::set_read_text(const std::string& text) {
    if (is_numeric(text))
        lines_read = leading_number_value(text);
    else
        fifth_field = text;
}

void ControlRecord::set_passed_text(const std::string& text) {
    lines_passed = leading_number_value(text);
}

void ControlRecord::count(const FileCounts& counts) {
    fifth_field.reset();
    lines_read = static_cast<double>(counts.lines_read);
    lines_passed = static_cast<double>(counts.lines_passed);
    validated = counts;
}

void ControlRecord::swap_fields(ControlRecord& other) {
    std::swap(ips_code, other.ips_code);
    std::swap(remission_date, other.remission_date);
    std::swap(file_code, other.file_code);
    std::swap(declared_count, other.declared_count);
}

}  // namespace corvela
