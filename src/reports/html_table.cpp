// Export of a list view as an HTML page. Every failure met while exporting (the folder, the logo
// copy, the page itself) surfaces as a std::system_error and ends the export the same way: one
// message box titled with the error number, the wait pointer restored, on_end raised.
#include "reports/html_table.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "platform/failure.h"
#include "platform/text.h"

namespace corvela {

namespace fs = std::filesystem;

namespace {

const char* const kCrLf = "\r\n";

// The operating system's reason for the last failed stream operation; a stream that failed
// without telling why still reports an input/output error rather than "success".
[[noreturn]] void throw_last_os_error() {
    int e = errno != 0 ? errno : EIO;
    throw std::system_error(e, std::system_category());
}

// A colour property as it goes into the page: blank gives nothing, an HTML colour is kept, a
// colour integer becomes "#RRGGBB". Anything else cannot be a colour and stops the export.
std::string html_color(const std::string& value) {
    std::string_view v = trim(value);
    if (v.empty()) return {};
    if (value.find('#') != std::string::npos) return value;
    if (!is_numeric(v)) throw std::system_error(std::make_error_code(std::errc::invalid_argument));
    // Fractions round half to even, as a colour integer taken from text always did.
    return HtmlTable::hex_color(std::lrint(leading_number_value(v)));
}

std::string capitalised_align(int a) {
    switch (a) {
        case 0:
            return "Left";
        case 1:
            return "Center";
        case 2:
            return "Right";
        default:
            return {};
    }
}

std::string lower_align(int a) {
    switch (a) {
        case 0:
            return "left";
        case 1:
            return "center";
        case 2:
            return "right";
        default:
            return {};
    }
}

// Percentage of `done` out of `total` rounded to an integer, halves to the even neighbour.
int percentage(long long done, long long total) {
    long long n = done * 100;
    long long q = n / total;
    long long r2 = (n % total) * 2;
    if (r2 > total || (r2 == total && q % 2 != 0)) ++q;
    return static_cast<int>(q);
}

// The seconds since midnight as the logo's file name: up to seven significant digits, with "-"
// where the decimal separator would be so that the name holds no dot.
std::string seconds_name(double seconds) {
    char buf[32];
    auto res = std::to_chars(buf, buf + sizeof buf, seconds, std::chars_format::general, 7);
    std::string s(buf, res.ptr);
    for (char& c : s)
        if (c == '.') c = '-';
    return s;
}

// The extension of a file path without its dot; empty when the file name has none.
std::string extension_of(const std::string& path) {
    size_t sep = path.find_last_of("/\\");
    size_t start = sep == std::string::npos ? 0 : sep + 1;
    size_t dot = path.rfind('.');
    if (dot == std::string::npos || dot < start) return {};
    return path.substr(dot + 1);
}

}  // namespace

void HtmlTable::set_numeric(std::string& field, std::string value) {
    if (!is_numeric(value)) {
        ui_.message("El valor ingresado no es un número", "", Icon::Critical);
        return;
    }
    field = std::move(value);
}

void HtmlTable::insert_html(const std::string& value, int position) {
    for (auto& entry : inserted_) {
        if (entry.first == position) {
            entry.second = value;
            return;
        }
    }
    inserted_.emplace_back(position, value);
}

std::string HtmlTable::inserted_html(int position) const {
    for (const auto& entry : inserted_)
        if (entry.first == position) return entry.second;
    return {};
}

std::string HtmlTable::hex_color(long color) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out = "#";
    for (int shift = 0; shift <= 16; shift += 8) {
        auto byte = static_cast<unsigned>((static_cast<unsigned long>(color) >> shift) & 0xFF);
        out += digits[byte >> 4];
        out += digits[byte & 0xF];
    }
    return out;
}

std::vector<FileFilter> HtmlTable::file_filters(const std::string& list) {
    std::vector<FileFilter> filters;
    std::vector<std::string> parts;
    for (size_t from = 0;;) {
        size_t bar = list.find('|', from);
        parts.push_back(list.substr(from, bar == std::string::npos ? bar : bar - from));
        if (bar == std::string::npos) break;
        from = bar + 1;
    }
    for (size_t i = 0; i + 1 < parts.size(); i += 2) filters.push_back({parts[i], parts[i + 1]});
    return filters;
}

std::string HtmlTable::choose_open_file(const std::string& filter, const std::string& title,
                                        const std::string& initial_dir) const {
    std::vector<FileFilter> filters = file_filters(filter);
    if (filter.empty()) filters.push_back({"Todos los archivos (*.*)", "*.*"});
    return std::string(trim(ui_.choose_open_file(filters, title, initial_dir)));
}

namespace {
// The page file: each piece is followed by CR LF; a failed write stops the export.
class PageFile {
  public:
    explicit PageFile(const std::string& path) {
        errno = 0;
        out_.open(path, std::ios::binary | std::ios::trunc);
        if (!out_) throw_last_os_error();
    }
    void put(const std::string& piece) {
        errno = 0;
        out_.write(piece.data(), static_cast<std::streamsize>(piece.size()));
        out_.write(kCrLf, 2);
        if (!out_) throw_last_os_error();
    }
    void close() {
        errno = 0;
        out_.close();
        if (!out_) throw_last_os_error();
    }

  private:
    std::ofstream out_;
};
}  // namespace

HtmlTable::Look HtmlTable::look() const {
    Look l;
    l.page = html_color(page_color_);
    l.border = html_color(border_color_);
    l.table = html_color(table_color_);
    l.head_row = html_color(column_title_background_);
    l.head_font = html_color(column_title_color_);
    l.row = html_color(cell_background_);
    l.title = html_color(title_color_);
    l.subtitle = html_color(subtitle_color_);
    l.cell_font = html_color(cell_color_);
    l.title_align = capitalised_align(title_align_);
    l.head_align = capitalised_align(column_title_align_);
    l.cell_align = capitalised_align(cell_align_);
    l.logo_align = lower_align(logo_align_);
    return l;
}

std::string HtmlTable::title_block(const Look& l, const std::string& folder) const {
    std::string title = "<HTML><HEAD></HEAD><BODY  BGCOLOR=" + l.page + ">" + kCrLf;
    if (!logo_path_.empty()) {
        std::error_code ec;
        if (fs::is_regular_file(logo_path_, ec)) {
            // One name for the copy and the link, so the page shows the logo it copied.
            const std::string image = "imagenes/" + seconds_name(clock_.seconds_since_midnight()) +
                                      "logo." + extension_of(logo_path_);
            fs::copy_file(logo_path_, folder + image, fs::copy_options::overwrite_existing);
            title += "<p align=" + l.logo_align + "><img src=" + image + "></p>";
        } else {
            ui_.message("No se ha encontrado el archivo para el logo " + logo_path_, "",
                        Icon::Critical);
        }
    }
    title += inserted_html(0);
    title += "<p align=" + l.title_align + "><font face=" + title_font_ + " size=" + title_size_ +
             " color=" + l.title + ">" + title_ + "</font></p><HR>";
    title += inserted_html(1);
    title += "<p><font face=" + subtitle_font_ + " size=" + subtitle_size_ +
             " color=" + l.subtitle + ">" + subtitle_ + "</font></p><HR>";
    title += inserted_html(3);
    return title;
}

std::string HtmlTable::column_titles(const Look& l, const ListView& list) const {
    std::string head = "<TABLE width=100%  BORDER=" + border_size_ + " Bordercolor=" + l.border +
                       " bgcolor=" + l.table + ">" + kCrLf + "<TR bgcolor=" + l.head_row + "> " +
                       kCrLf + kCrLf;
    for (const auto& column : list.column_headers) {
        head += " <TH><div align=" + l.head_align + "><font size=" + column_title_size_ +
                " face=" + title_font_ + " color=" + l.head_font + ">" + std::string(trim(column)) +
                "</font></div></TH>" + kCrLf;
    }
    head += std::string("</TR>") + kCrLf;
    return head;
}

std::string HtmlTable::item_row(const Look& l, const ListView& list, size_t item) const {
    const std::vector<std::string>& cells = list.items[item];
    auto cell = [&cells](size_t i) { return i < cells.size() ? cells[i] : std::string(); };
    const std::string cell_open = " <td><div align=" + l.cell_align +
                                  "><font color=" + l.cell_font + " size=" + cell_size_ +
                                  " face=" + cell_font_ + ">";
    std::string row = "<TR bgcolor=" + l.row + " > " + kCrLf;
    row += cell_open + "&nbsp;&nbsp;" + cell(0) + "</font></div></td>" + kCrLf;
    for (size_t i = 1; i < list.column_headers.size(); ++i)
        row += cell_open + cell(i) + "</font></div></td>" + kCrLf;
    row += std::string("</TR>") + kCrLf;
    return row;
}

std::string HtmlTable::footer_block(const Look& l) const {
    return std::string("</table>") + kCrLf + "<BR>" + inserted_html(4) +
           "<HR><font face=verdana size=" + footer_size_ + " color=" + l.title + ">" + footer_ +
           "</font><P>" + inserted_html(5) +
           "</BODY><HEAD><META HTTP-EQUIV=PRAGMA CONTENT=NO-CACHE></HEAD></HTML>";
}

void HtmlTable::write_pieces(const ListView& list, const std::string& folder) {
    if (!fs::exists(folder)) fs::create_directory(folder);
    if (on_start) on_start();
    const Look l = look();
    ui_.set_busy(true);
    PageFile page(output_path_);
    page.put(title_block(l, folder));
    page.put(column_titles(l, list));
    const auto count = static_cast<long long>(list.items.size());
    for (size_t item = 0; item < list.items.size(); ++item) {
        page.put(item_row(l, list, item));
        if (on_progress) on_progress(percentage(static_cast<long long>(item) + 1, count));
    }
    page.put(std::string("</TR>") + kCrLf);
    page.put(footer_block(l));
    page.close();
}

Status HtmlTable::write_page(const ListView& list) {
    Status written = Status::failed();
    size_t sep = output_path_.find_last_of("/\\");
    if (sep == std::string::npos) {
        ui_.message(
            "No se ha indicado la ruta para generar el archivo html en la propiedad OutputPath", "",
            Icon::Exclamation);
    } else {
        try {
            write_pieces(list, output_path_.substr(0, sep + 1));
            written = Status::done();
        } catch (const std::system_error& e) {
            ui_.message(describe_failure(e).description,
                        "N° de error: " + std::to_string(e.code().value()), Icon::Critical);
        }
        ui_.set_busy(false);
    }
    if (on_end) on_end();
    return written;
}

}  // namespace corvela
