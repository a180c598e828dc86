#include "reports/workbook.h"

#include <xlsxwriter.h>

#include <cerrno>
#include <fstream>
#include <stdexcept>
#include <system_error>

#include "platform/failure.h"
#include "platform/text.h"

namespace corvela {

namespace {
// How many UTF-16 units the UTF-8 sequence starting with `lead` takes.
size_t utf16_units(unsigned char lead) {
    return lead >= 0xF0 ? 2 : 1;
}

bool continuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

bool hex(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

// Excel reads "_xHHHH_" in a text as the character of code HHHH; a text that holds such a
// sequence itself keeps it by writing its "_" as "_x005F_".
std::string escaped(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '_' && i + 6 < text.size() && text[i + 1] == 'x' && hex(text[i + 2]) &&
            hex(text[i + 3]) && hex(text[i + 4]) && hex(text[i + 5]) && text[i + 6] == '_')
            out += "_x005F";
        out += text[i];
    }
    return out;
}

// Excel refuses these in a sheet's name.
bool refused_in_name(char c) {
    return c == '[' || c == ']' || c == ':' || c == '*' || c == '?' || c == '/' || c == '\\';
}

// The first `units` UTF-16 units of a text, cut at a character's start.
std::string_view first_units(std::string_view text, size_t units) {
    size_t used = 0, at = 0;
    while (at < text.size()) {
        size_t next = at + 1;
        while (next < text.size() && continuation(static_cast<unsigned char>(text[next]))) ++next;
        used += utf16_units(static_cast<unsigned char>(text[at]));
        if (used > units) break;
        at = next;
    }
    return text.substr(0, at);
}
}  // namespace

std::string fit_to_cell(std::string_view text, bool& cut) {
    size_t units = 0;
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (!continuation(byte)) units += utf16_units(byte);
    }
    cut = units > kCellCharacters;
    if (!cut) return std::string(text);
    return std::string(first_units(text, kCellCharacters - 1)) + "…";
}

Workbook::Workbook(const std::filesystem::path& path, const std::filesystem::path& temp_folder,
                   bool large)
    : path_(path), temp_folder_(temp_folder.string()) {
    temp_path_ = path_;
    temp_path_.replace_filename("~" + path_.filename().string() + ".tmp");
    // A place where the book cannot be written is said now, with the failure the system gives.
    errno = 0;
    if (!std::ofstream(temp_path_, std::ios::binary))
        throw std::runtime_error("No se pudo escribir el libro " + path_.string() + ": " +
                                 system_failure_text(errno ? errno : EACCES));
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    options.tmpdir = temp_folder_.data();
    options.use_zip64 = large ? LXW_TRUE : LXW_FALSE;
    book_ = workbook_new_opt(temp_path_.string().c_str(), &options);
    if (!book_) {
        std::error_code ec;
        std::filesystem::remove(temp_path_, ec);
        fail(LXW_ERROR_CREATING_XLSX_FILE);
    }
    header_ = workbook_add_format(book_);
    format_set_bold(header_);
    format_set_bg_color(header_, 0xD9E1F2);
    format_set_border(header_, LXW_BORDER_THIN);
    marked_ = workbook_add_format(book_);
    format_set_bg_color(marked_, 0xFFC7CE);
    format_set_font_color(marked_, 0x9C0006);
}

Workbook::~Workbook() {
    if (!book_) return;
    // An unfinished book is written to its temporary name and dropped: libxlsxwriter frees its
    // memory and its temporary files only by closing.
    workbook_close(book_);
    std::error_code ec;
    std::filesystem::remove(temp_path_, ec);
}

void Workbook::fail(int error) const {
    throw std::runtime_error("No se pudo escribir el libro " + path_.string() + ": " +
                             lxw_strerror(static_cast<lxw_error>(error)));
}

lxw_format* Workbook::format(CellStyle style) const {
    switch (style) {
        case CellStyle::Header:
            return header_;
        case CellStyle::Marked:
            return marked_;
        default:
            return nullptr;
    }
}

std::string Workbook::unique_name(std::string_view name) {
    std::string base;
    for (char c : name) base += refused_in_name(c) ? '_' : c;
    while (!base.empty() && base.front() == '\'') base.erase(0, 1);
    while (!base.empty() && base.back() == '\'') base.pop_back();
    if (trim(base).empty()) base = "Hoja";
    for (int n = 1;; ++n) {
        std::string suffix = n == 1 ? "" : " (" + std::to_string(n) + ")";
        std::string candidate = std::string(first_units(base, 31 - suffix.size())) + suffix;
        if (names_.insert(to_upper(candidate)).second) return candidate;
    }
}

Sheet Workbook::add_sheet(std::string_view name) {
    lxw_worksheet* sheet = workbook_add_worksheet(book_, unique_name(name).c_str());
    // Names are made valid above: what fails here is the temporary file of its rows.
    if (!sheet) fail(LXW_ERROR_CREATING_TMPFILE);
    return Sheet(*this, sheet);
}

void Workbook::set_title(const std::string& title) {
    title_ = title;
    lxw_doc_properties properties{};
    properties.title = title_.data();
    workbook_set_properties(book_, &properties);
}

void Workbook::close() {
    lxw_workbook* book = book_;
    book_ = nullptr;
    lxw_error error = workbook_close(book);
    std::error_code ec;
    if (error == LXW_NO_ERROR) std::filesystem::rename(temp_path_, path_, ec);
    if (error == LXW_NO_ERROR && !ec) return;
    std::filesystem::remove(temp_path_, ec);
    if (error != LXW_NO_ERROR) fail(error);
    throw std::runtime_error("No se pudo escribir el libro " + path_.string() + ": " +
                             system_failure_text(ec.value()));
}

void Sheet::text(uint32_t row, uint16_t col, std::string_view value, CellStyle style) {
    lxw_error error =
        worksheet_write_string(sheet_, row, col, escaped(value).c_str(), book_->format(style));
    if (error != LXW_NO_ERROR) book_->fail(error);
}

void Sheet::number(uint32_t row, uint16_t col, double value, CellStyle style) {
    lxw_error error = worksheet_write_number(sheet_, row, col, value, book_->format(style));
    if (error != LXW_NO_ERROR) book_->fail(error);
}

void Sheet::note(uint32_t row, uint16_t col, const std::string& text) {
    lxw_error error = worksheet_write_comment(sheet_, row, col, text.c_str());
    if (error != LXW_NO_ERROR) book_->fail(error);
}

void Sheet::column_width(uint16_t first, uint16_t last, double width) {
    worksheet_set_column(sheet_, first, last, width, nullptr);
}

void Sheet::header_row(uint32_t last_row, uint16_t last_col) {
    worksheet_freeze_panes(sheet_, 1, 0);
    worksheet_autofilter(sheet_, 0, 0, last_row, last_col);
}

}  // namespace corvela
