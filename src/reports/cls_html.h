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
#include "platform/ui.h"

namespace corvela {

// What the writer reads of a list view: the column titles and, per item, its text at [0] followed
// by its sub-items ([i] is sub-item i). Missing sub-items read as empty text.
struct ListView {
    std::vector<std::string> column_headers;
    std::vector<std::vector<std::string>> items;
};

class clsHtml {
  public:
    clsHtml(Ui& ui, const Clock& clock) : ui_(ui), clock_(clock) {}

    // Raised after each item with the percentage of items written.
    std::function<void(int)> Progress;
    // Raised when an export ends, whether it succeeded or not.
    std::function<void()> EndExport;
    // Raised once the output folder is known to exist, before anything is written.
    std::function<void()> InitExport;

    // Writes the page for `list` to OutputPath. False when nothing usable was written; the reason
    // has then been shown as a message box.
    bool ExportHtml(const ListView& list);

    // Sets the HTML inserted at `position` (0, 1 and 3 in the title block, 4 and 5 in the footer;
    // any other position is held but never written).
    void InsertHtml(const std::string& value, int position);
    // The HTML inserted at `position`, empty when none.
    std::string InsertedHtml(int position) const;

    // "#RRGGBB" of a colour integer holding red in its lowest byte, then green, then blue.
    static std::string GetHexadecimalFromRgb(long color);

    // Opens a written page with the workstation's default program; true when that succeeded.
    // Without an opener (the core alone has no shell) nothing is opened.
    bool OpenFile(const std::string& path) const { return opener_ ? opener_(path) : false; }
    void setOpener(std::function<bool(const std::string&)> opener) { opener_ = std::move(opener); }

    // The colour, file and folder dialogs the writer offers its callers (the reports use none).
    // Each returns the empty text when the operator cancels, and wherever no dialog can be shown.
    // The chosen colour as a colour integer in text, as the colour properties take it.
    std::string ShowCommonDialogoColor(int OptionDialog) const {
        return ui_.choose_color(OptionDialog);
    }
    // The chosen file, blanks around it removed. `filter` lists description|pattern pairs; an
    // empty one offers "Todos los archivos (*.*)".
    std::string ShowOpenFileDialog(const std::string& filter, const std::string& title,
                                   const std::string& initial_dir) const;
    // The chosen file. `extensions` lists description|pattern pairs, `filter_index` (from 1)
    // names the pair offered first.
    std::string ShowSaveFileDialog(const std::string& extensions, const std::string& title,
                                   int filter_index) const {
        return ui_.choose_save_file(file_filters(extensions), title, filter_index);
    }
    // The chosen folder; the browser opens over the active window, as every box does.
    std::string BrowseForFolder(const std::string& title) const { return ui_.choose_folder(title); }
    // The description|pattern pairs of a filter text; a description left without its pattern
    // (a trailing "|" included) offers nothing.
    static std::vector<FileFilter> file_filters(const std::string& list);

    const std::string& TextHeader() const { return text_header_; }
    void setTextHeader(std::string v) { text_header_ = std::move(v); }
    const std::string& TextSubHeader() const { return text_sub_header_; }
    void setTextSubHeader(std::string v) { text_sub_header_ = std::move(v); }
    const std::string& TextFoother() const { return text_foother_; }
    void setTextFoother(std::string v) { text_foother_ = std::move(v); }

    // Sizes must be numeric text; anything else is refused with a message and the old value kept.
    const std::string& SizeBorderTable() const { return size_border_table_; }
    void setSizeBorderTable(std::string v) { set_numeric(size_border_table_, std::move(v)); }
    const std::string& FontSizeHeader() const { return font_size_header_; }
    void setFontSizeHeader(std::string v) { set_numeric(font_size_header_, std::move(v)); }
    const std::string& FontSizeSubHeader() const { return font_size_sub_header_; }
    void setFontSizeSubHeader(std::string v) { set_numeric(font_size_sub_header_, std::move(v)); }
    const std::string& FontSizeCell() const { return font_size_cell_; }
    void setFontSizeCell(std::string v) { set_numeric(font_size_cell_, std::move(v)); }
    const std::string& FontSizeColumnHeaders() const { return font_size_column_headers_; }
    void setFontSizeColumnHeaders(std::string v) {
        set_numeric(font_size_column_headers_, std::move(v));
    }
    const std::string& FontSizeFoother() const { return font_size_foother_; }
    void setFontSizeFoother(std::string v) { set_numeric(font_size_foother_, std::move(v)); }

    // Alignments: 0 left, 1 center, 2 right; other values leave the alignment out.
    int AlignFontHeader() const { return align_font_header_; }
    void setAlignFontHeader(int v) { align_font_header_ = v; }
    int AlignFontColumnHeader() const { return align_font_column_header_; }
    void setAlignFontColumnHeader(int v) { align_font_column_header_ = v; }
    int AlignFontCell() const { return align_font_cell_; }
    void setAlignFontCell(int v) { align_font_cell_ = v; }
    int PictureLogoAlign() const { return picture_logo_align_; }
    void setPictureLogoAlign(int v) { picture_logo_align_ = v; }

    const std::string& FontNameHeader() const { return font_name_header_; }
    void setFontNameHeader(std::string v) { font_name_header_ = std::move(v); }
    const std::string& FontNameSubHeader() const { return font_name_sub_header_; }
    void setFontNameSubHeader(std::string v) { font_name_sub_header_ = std::move(v); }
    const std::string& FontNameCell() const { return font_name_cell_; }
    void setFontNameCell(std::string v) { font_name_cell_ = std::move(v); }

    // Colours: a colour integer as text, an HTML colour containing "#", or blank for none.
    const std::string& BorderColorTable() const { return border_color_table_; }
    void setBorderColorTable(std::string v) { border_color_table_ = std::move(v); }
    const std::string& BackGroundColorTable() const { return back_ground_color_table_; }
    void setBackGroundColorTable(std::string v) { back_ground_color_table_ = std::move(v); }
    const std::string& BackGroundColorHeader() const { return back_ground_color_header_; }
    void setBackGroundColorHeader(std::string v) { back_ground_color_header_ = std::move(v); }
    const std::string& FontColorColumnHeader() const { return font_color_column_header_; }
    void setFontColorColumnHeader(std::string v) { font_color_column_header_ = std::move(v); }
    const std::string& BackGroundColorCell() const { return back_ground_color_cell_; }
    void setBackGroundColorCell(std::string v) { back_ground_color_cell_ = std::move(v); }
    const std::string& BackGroundColorPage() const { return back_ground_color_page_; }
    void setBackGroundColorPage(std::string v) { back_ground_color_page_ = std::move(v); }
    const std::string& FontColorHeader() const { return font_color_header_; }
    void setFontColorHeader(std::string v) { font_color_header_ = std::move(v); }
    const std::string& FontColorSubHeader() const { return font_color_sub_header_; }
    void setFontColorSubHeader(std::string v) { font_color_sub_header_ = std::move(v); }
    const std::string& FontColorCell() const { return font_color_cell_; }
    void setFontColorCell(std::string v) { font_color_cell_ = std::move(v); }

    const std::string& PictureLogoPath() const { return picture_logo_path_; }
    void setPictureLogoPath(std::string v) { picture_logo_path_ = std::move(v); }
    // Held for callers that set them; the page does not use them.
    const std::string& PictureBackGroundTable() const { return picture_back_ground_table_; }
    void setPictureBackGroundTable(std::string v) { picture_back_ground_table_ = std::move(v); }
    const std::string& PictureCellItem() const { return picture_cell_item_; }
    void setPictureCellItem(std::string v) { picture_cell_item_ = std::move(v); }
    const std::string& BackGroundPicturePage() const { return back_ground_picture_page_; }
    void setBackGroundPicturePage(std::string v) { back_ground_picture_page_ = std::move(v); }

    const std::string& OutputPath() const { return output_path_; }
    void setOutputPath(std::string v) { output_path_ = std::move(v); }

  private:
    void set_numeric(std::string& field, std::string value);

    Ui& ui_;
    const Clock& clock_;
    std::function<bool(const std::string&)> opener_;
    std::vector<std::pair<int, std::string>> inserted_;

    std::string text_header_;
    std::string text_sub_header_;
    std::string text_foother_;
    std::string size_border_table_;
    std::string font_size_header_ = "6";
    std::string font_size_sub_header_ = "3";
    std::string font_size_cell_ = "2";
    std::string font_size_column_headers_ = "3";
    std::string font_size_foother_ = "2";
    int align_font_header_ = 0;
    int align_font_column_header_ = 0;
    int align_font_cell_ = 0;
    int picture_logo_align_ = 0;
    std::string font_name_header_;
    std::string font_name_sub_header_;
    std::string font_name_cell_;
    std::string border_color_table_;
    std::string back_ground_color_table_;
    std::string back_ground_color_header_;
    std::string font_color_column_header_;
    std::string back_ground_color_cell_;
    std::string back_ground_color_page_;
    std::string font_color_header_;
    std::string font_color_sub_header_;
    std::string font_color_cell_;
    std::string picture_logo_path_;
    std::string picture_back_ground_table_;
    std::string picture_cell_item_;
    std::string back_ground_picture_page_;
    std::string output_path_;
};

}  // namespace corvela
