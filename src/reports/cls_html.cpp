// Export of a list view as an HTML page. Every failure met while exporting (the folder, the logo
// copy, the page itself) surfaces as a std::system_error and ends the export the same way: one
// message box titled with the error number, the wait pointer restored, EndExport raised.
#include "reports/cls_html.h"

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
    return clsHtml::GetHexadecimalFromRgb(std::lrint(leading_number_value(v)));
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

void clsHtml::set_numeric(std::string& field, std::string value) {
    if (!is_numeric(value)) {
        ui_.message("El valor ingresado no es un número", "", Icon::Critical);
        return;
    }
    field = std::move(value);
}

void clsHtml::InsertHtml(const std::string& value, int position) {
    for (auto& entry : inserted_) {
        if (entry.first == position) {
            entry.second = value;
            return;
        }
    }
    inserted_.emplace_back(position, value);
}

std::string clsHtml::InsertedHtml(int position) const {
    for (const auto& entry : inserted_)
        if (entry.first == position) return entry.second;
    return {};
}

std::string clsHtml::GetHexadecimalFromRgb(long color) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out = "#";
    for (int shift = 0; shift <= 16; shift += 8) {
        unsigned byte = static_cast<unsigned>((static_cast<unsigned long>(color) >> shift) & 0xFF);
        out += digits[byte >> 4];
        out += digits[byte & 0xF];
    }
    return out;
}

std::vector<FileFilter> clsHtml::file_filters(const std::string& list) {
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

std::string clsHtml::ShowOpenFileDialog(const std::string& filter, const std::string& title,
                                        const std::string& initial_dir) const {
    std::vector<FileFilter> filters = file_filters(filter);
    if (filter.empty()) filters.push_back({"Todos los archivos (*.*)", "*.*"});
    return std::string(trim(ui_.choose_open_file(filters, title, initial_dir)));
}

bool clsHtml::ExportHtml(const ListView& list) {
    auto end_export = [this] {
        if (EndExport) EndExport();
    };

    size_t sep = output_path_.find_last_of("/\\");
    if (sep == std::string::npos) {
        ui_.message(
            "No se ha indicado la ruta para generar el archivo html en la propiedad OutputPath", "",
            Icon::Exclamation);
        end_export();
        return false;
    }
    const std::string folder = output_path_.substr(0, sep + 1);

    try {
        if (!fs::exists(folder)) fs::create_directory(folder);
        if (InitExport) InitExport();

        const std::string page_color = html_color(back_ground_color_page_);
        const std::string border_color = html_color(border_color_table_);
        const std::string table_color = html_color(back_ground_color_table_);
        const std::string head_row_color = html_color(back_ground_color_header_);
        const std::string head_font_color = html_color(font_color_column_header_);
        const std::string row_color = html_color(back_ground_color_cell_);
        const std::string title_color = html_color(font_color_header_);
        const std::string subtitle_color = html_color(font_color_sub_header_);
        const std::string cell_font_color = html_color(font_color_cell_);
        const std::string title_align = capitalised_align(align_font_header_);
        const std::string head_align = capitalised_align(align_font_column_header_);
        const std::string cell_align = capitalised_align(align_font_cell_);
        const std::string logo_align = lower_align(picture_logo_align_);
        ui_.set_busy(true);

        errno = 0;
        std::ofstream out(output_path_, std::ios::binary | std::ios::trunc);
        if (!out) throw_last_os_error();
        auto put = [&out](const std::string& piece) {
            errno = 0;
            out.write(piece.data(), static_cast<std::streamsize>(piece.size()));
            out.write(kCrLf, 2);
            if (!out) throw_last_os_error();
        };

        std::string title = "<HTML><HEAD></HEAD><BODY  BGCOLOR=" + page_color + ">" + kCrLf;
        if (!picture_logo_path_.empty()) {
            std::error_code ec;
            if (fs::is_regular_file(picture_logo_path_, ec)) {
                // One name for the copy and the link, so the page shows the logo it copied.
                const std::string image = "imagenes/" +
                                          seconds_name(clock_.seconds_since_midnight()) + "logo." +
                                          extension_of(picture_logo_path_);
                fs::copy_file(picture_logo_path_, folder + image,
                              fs::copy_options::overwrite_existing);
                title += "<p align=" + logo_align + "><img src=" + image + "></p>";
            } else {
                ui_.message("No se ha encontrado el archivo para el logo " + picture_logo_path_, "",
                            Icon::Critical);
            }
        }
        title += InsertedHtml(0);
        title += "<p align=" + title_align + "><font face=" + font_name_header_ +
                 " size=" + font_size_header_ + " color=" + title_color + ">" + text_header_ +
                 "</font></p><HR>";
        title += InsertedHtml(1);
        title += "<p><font face=" + font_name_sub_header_ + " size=" + font_size_sub_header_ +
                 " color=" + subtitle_color + ">" + text_sub_header_ + "</font></p><HR>";
        title += InsertedHtml(3);
        put(title);

        std::string head = "<TABLE width=100%  BORDER=" + size_border_table_ +
                           " Bordercolor=" + border_color + " bgcolor=" + table_color + ">" +
                           kCrLf + "<TR bgcolor=" + head_row_color + "> " + kCrLf + kCrLf;
        for (const auto& column : list.column_headers) {
            head += " <TH><div align=" + head_align + "><font size=" + font_size_column_headers_ +
                    " face=" + font_name_header_ + " color=" + head_font_color + ">" +
                    std::string(trim(column)) + "</font></div></TH>" + kCrLf;
        }
        head += std::string("</TR>") + kCrLf;
        put(head);

        const std::string cell_open = " <td><div align=" + cell_align +
                                      "><font color=" + cell_font_color +
                                      " size=" + font_size_cell_ + " face=" + font_name_cell_ + ">";
        const size_t columns = list.column_headers.size();
        const long long count = static_cast<long long>(list.items.size());
        long long done = 0;
        for (const auto& item : list.items) {
            auto field = [&item](size_t i) { return i < item.size() ? item[i] : std::string(); };
            std::string row = "<TR bgcolor=" + row_color + " > " + kCrLf;
            row += cell_open + "&nbsp;&nbsp;" + field(0) + "</font></div></td>" + kCrLf;
            for (size_t i = 1; i < columns; ++i)
                row += cell_open + field(i) + "</font></div></td>" + kCrLf;
            row += std::string("</TR>") + kCrLf;
            put(row);
            ++done;
            if (Progress) Progress(percentage(done, count));
        }
        put(std::string("</TR>") + kCrLf);

        put(std::string("</table>") + kCrLf + "<BR>" + InsertedHtml(4) +
            "<HR><font face=verdana size=" + font_size_foother_ + " color=" + title_color + ">" +
            text_foother_ + "</font><P>" + InsertedHtml(5) +
            "</BODY><HEAD><META HTTP-EQUIV=PRAGMA CONTENT=NO-CACHE></HEAD></HTML>");
        errno = 0;
        out.close();
        if (!out) throw_last_os_error();
    } catch (const std::system_error& e) {
        ui_.message(describe_failure(e).description,
                    "N° de error: " + std::to_string(e.code().value()), Icon::Critical);
        ui_.set_busy(false);
        end_export();
        return false;
    }

    ui_.set_busy(false);
    end_export();
    return true;
}

}  // namespace corvela
