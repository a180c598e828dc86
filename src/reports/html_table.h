// The HTML table writer: renders the column headers and rows of a list view as one page (a title
// block with an optional logo, a table, a footer) whose look is set through the properties below.
// The page is written byte for byte as the desktop program always wrote it, CR LF after every
// piece and texts unescaped, so reports opened side by side with older ones look the same. One
// difference on purpose: a logo is linked under the name it is copied to,
// `imagenes/<seconds>logo.<ext>`, where older pages linked `imagenes/<seconds>.<ext>`, a file that
// was never written.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/clock.h"
#include "platform/result.h"
#include "platform/ui.h"

namespace corvela {

// What the writer reads of a list view: the column titles and, per item, its text at [0] followed
// by its sub-items ([i] is sub-item i). Missing sub-items read as empty text.
struct ListView {
    std::vector<std::string> column_headers;
    std::vector<std::vector<std::string>> items;
};

class HtmlTable {
  public:
    HtmlTable(Ui& ui, const Clock& clock) : ui_(ui), clock_(clock) {}

    // Raised after each item with the percentage of items written.
    std::function<void(int)> on_progress;
    // Raised when an export ends, whether it succeeded or not.
    std::function<void()> on_end;
    // Raised once the output folder is known to exist, before anything is written.
    std::function<void()> on_start;

    // Writes the page for `list` to output_path. Failed when nothing usable was written; the
    // reason has then been shown as a message box.
    Status write_page(const ListView& list);

    // Sets the HTML inserted at `position` (0, 1 and 3 in the title block, 4 and 5 in the footer;
    // any other position is held but never written).
    void insert_html(const std::string& value, int position);
    // The HTML inserted at `position`, empty when none.
    std::string inserted_html(int position) const;

    // "#RRGGBB" of a colour integer holding red in its lowest byte, then green, then blue.
    static std::string hex_color(long color);

    // Opens a written page with the workstation's default program; true when that succeeded.
    // Without an opener (the core alone has no shell) nothing is opened.
    bool open_page(const std::string& path) const { return opener_ ? opener_(path) : false; }
    void set_opener(std::function<bool(const std::string&)> opener) { opener_ = std::move(opener); }

    // The colour, file and folder dialogs the writer offers its callers (the reports use none).
    // Each returns the empty text when the operator cancels, and wherever no dialog can be shown.
    // The chosen colour as a colour integer in text, as the colour properties take it.
    std::string choose_color(int options) const { return ui_.choose_color(options); }
    // The chosen file, blanks around it removed. `filter` lists description|pattern pairs; an
    // empty one offers "Todos los archivos (*.*)".
    std::string choose_open_file(const std::string& filter, const std::string& title,
                                 const std::string& initial_dir) const;
    // The chosen file. `extensions` lists description|pattern pairs, `filter_index` (from 1)
    // names the pair offered first.
    std::string choose_save_file(const std::string& extensions, const std::string& title,
                                 int filter_index) const {
        return ui_.choose_save_file(file_filters(extensions), title, filter_index);
    }
    // The chosen folder; the browser opens over the active window, as every box does.
    std::string choose_folder(const std::string& title) const { return ui_.choose_folder(title); }
    // The description|pattern pairs of a filter text; a description left without its pattern
    // (a trailing "|" included) offers nothing.
    static std::vector<FileFilter> file_filters(const std::string& list);

    const std::string& title() const { return title_; }
    void set_title(std::string v) { title_ = std::move(v); }
    const std::string& subtitle() const { return subtitle_; }
    void set_subtitle(std::string v) { subtitle_ = std::move(v); }
    const std::string& footer() const { return footer_; }
    void set_footer(std::string v) { footer_ = std::move(v); }

    // Sizes must be numeric text; anything else is refused with a message and the old value kept.
    const std::string& border_size() const { return border_size_; }
    void set_border_size(std::string v) { set_numeric(border_size_, std::move(v)); }
    const std::string& title_size() const { return title_size_; }
    void set_title_size(std::string v) { set_numeric(title_size_, std::move(v)); }
    const std::string& subtitle_size() const { return subtitle_size_; }
    void set_subtitle_size(std::string v) { set_numeric(subtitle_size_, std::move(v)); }
    const std::string& cell_size() const { return cell_size_; }
    void set_cell_size(std::string v) { set_numeric(cell_size_, std::move(v)); }
    const std::string& column_title_size() const { return column_title_size_; }
    void set_column_title_size(std::string v) { set_numeric(column_title_size_, std::move(v)); }
    const std::string& footer_size() const { return footer_size_; }
    void set_footer_size(std::string v) { set_numeric(footer_size_, std::move(v)); }

    // Alignments: 0 left, 1 center, 2 right; other values leave the alignment out.
    int title_align() const { return title_align_; }
    void set_title_align(int v) { title_align_ = v; }
    int column_title_align() const { return column_title_align_; }
    void set_column_title_align(int v) { column_title_align_ = v; }
    int cell_align() const { return cell_align_; }
    void set_cell_align(int v) { cell_align_ = v; }
    int logo_align() const { return logo_align_; }
    void set_logo_align(int v) { logo_align_ = v; }

    const std::string& title_font() const { return title_font_; }
    void set_title_font(std::string v) { title_font_ = std::move(v); }
    const std::string& subtitle_font() const { return subtitle_font_; }
    void set_subtitle_font(std::string v) { subtitle_font_ = std::move(v); }
    const std::string& cell_font() const { return cell_font_; }
    void set_cell_font(std::string v) { cell_font_ = std::move(v); }

    // Colours: a colour integer as text, an HTML colour containing "#", or blank for none.
    const std::string& border_color() const { return border_color_; }
    void set_border_color(std::string v) { border_color_ = std::move(v); }
    const std::string& table_color() const { return table_color_; }
    void set_table_color(std::string v) { table_color_ = std::move(v); }
    const std::string& column_title_background() const { return column_title_background_; }
    void set_column_title_background(std::string v) { column_title_background_ = std::move(v); }
    const std::string& column_title_color() const { return column_title_color_; }
    void set_column_title_color(std::string v) { column_title_color_ = std::move(v); }
    const std::string& cell_background() const { return cell_background_; }
    void set_cell_background(std::string v) { cell_background_ = std::move(v); }
    const std::string& page_color() const { return page_color_; }
    void set_page_color(std::string v) { page_color_ = std::move(v); }
    const std::string& title_color() const { return title_color_; }
    void set_title_color(std::string v) { title_color_ = std::move(v); }
    const std::string& subtitle_color() const { return subtitle_color_; }
    void set_subtitle_color(std::string v) { subtitle_color_ = std::move(v); }
    const std::string& cell_color() const { return cell_color_; }
    void set_cell_color(std::string v) { cell_color_ = std::move(v); }

    const std::string& logo_path() const { return logo_path_; }
    void set_logo_path(std::string v) { logo_path_ = std::move(v); }
    // Held for callers that set them; the page does not use them.
    const std::string& table_picture() const { return table_picture_; }
    void set_table_picture(std::string v) { table_picture_ = std::move(v); }
    const std::string& cell_picture() const { return cell_picture_; }
    void set_cell_picture(std::string v) { cell_picture_ = std::move(v); }
    const std::string& page_picture() const { return page_picture_; }
    void set_page_picture(std::string v) { page_picture_ = std::move(v); }

    const std::string& output_path() const { return output_path_; }
    void set_output_path(std::string v) { output_path_ = std::move(v); }

  private:
    // The page's colours as written (each "#RRGGBB", an HTML colour or empty) and alignments.
    struct Look {
        std::string page, border, table, head_row, head_font, row, title, subtitle, cell_font;
        std::string title_align, head_align, cell_align, logo_align;
    };
    // Fails, as an export's failure, on a colour that is none.
    Look look() const;
    // The pieces of the page, each written followed by CR LF.
    std::string title_block(const Look& l, const std::string& folder) const;
    std::string column_titles(const Look& l, const ListView& list) const;
    std::string item_row(const Look& l, const ListView& list, size_t item) const;
    std::string footer_block(const Look& l) const;
    // Writes the page into `folder` (made when missing); every failure is a std::system_error.
    void write_pieces(const ListView& list, const std::string& folder);
    void set_numeric(std::string& field, std::string value);

    Ui& ui_;
    const Clock& clock_;
    std::function<bool(const std::string&)> opener_;
    std::vector<std::pair<int, std::string>> inserted_;

    std::string title_;
    std::string subtitle_;
    std::string footer_;
    std::string border_size_;
    std::string title_size_ = "6";
    std::string subtitle_size_ = "3";
    std::string cell_size_ = "2";
    std::string column_title_size_ = "3";
    std::string footer_size_ = "2";
    int title_align_ = 0;
    int column_title_align_ = 0;
    int cell_align_ = 0;
    int logo_align_ = 0;
    std::string title_font_;
    std::string subtitle_font_;
    std::string cell_font_;
    std::string border_color_;
    std::string table_color_;
    std::string column_title_background_;
    std::string column_title_color_;
    std::string cell_background_;
    std::string page_color_;
    std::string title_color_;
    std::string subtitle_color_;
    std::string cell_color_;
    std::string logo_path_;
    std::string table_picture_;
    std::string cell_picture_;
    std::string page_picture_;
    std::string output_path_;
};

}  // namespace corvela
