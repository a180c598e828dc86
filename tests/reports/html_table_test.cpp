// The HTML table writer: the page byte for byte, colours and alignments, refused settings, the
// logo copy, the ways an export ends early and the dialogs it offers.
#include "reports/html_table.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "headless/console_ui.h"
#include "support/installation.h"

namespace corvela {
namespace {

namespace fs = std::filesystem;
using testing::FixedClock;
using testing::ScriptedUi;

const std::string kFooterTail =
    "</BODY><HEAD><META HTTP-EQUIV=PRAGMA CONTENT=NO-CACHE></HEAD></HTML>\r\n";

class HtmlTableTest : public ::testing::Test {
  protected:
    HtmlTableTest() {
        html_.on_end = [this] { ++ends_; };
        html_.on_start = [this] { ++inits_; };
        html_.on_progress = [this](int p) { progress_.push_back(p); };
    }

    std::string path(const std::string& name) const { return (inst_.dir / name).string(); }

    void expect_message(size_t i, const std::string& text, const std::string& title, Icon icon) {
        ASSERT_EQ(ui_.messages.size(), i + 1);
        EXPECT_EQ(ui_.messages[i].text, text);
        EXPECT_EQ(ui_.messages[i].title, title);
        EXPECT_EQ(ui_.messages[i].icon, icon);
    }

    testing::Installation inst_;  // its folder holds the pages
    ScriptedUi ui_;
    FixedClock clock_{{2024, 3, 15}, 45123.25};
    HtmlTable html_{ui_, clock_};
    int ends_ = 0;
    int inits_ = 0;
    std::vector<int> progress_;
};

TEST_F(HtmlTableTest, TwoRowPageIsWrittenByteForByte) {
    html_.set_title("Resumen");
    html_.set_subtitle("Detalle");
    html_.set_footer("Pie");
    html_.set_border_size("1");
    html_.set_title_align(1);
    html_.set_column_title_align(2);
    html_.set_cell_align(7);
    html_.set_title_font("Arial");
    html_.set_subtitle_font("Tahoma");
    html_.set_cell_font("Verdana");
    html_.set_page_color("16777215");
    html_.set_border_color("255");
    html_.set_column_title_background("#92B6DA");
    html_.set_column_title_color("16711680");
    html_.set_cell_background("  ");
    html_.set_title_color("0");
    html_.set_subtitle_color("65280");
    html_.set_cell_color("#333333");
    for (int pos : {0, 1, 2, 3, 4, 5}) html_.insert_html("<x" + std::to_string(pos) + ">", pos);
    html_.insert_html("<i4>", 4);
    html_.set_output_path(path("informe.html"));

    ListView list{{" Código ", "Descripción", "Total"}, {{"AC", "Consultas", "12"}, {"AP"}}};
    ASSERT_TRUE(html_.write_page(list));

    const std::string th = " <TH><div align=Right><font size=3 face=Arial color=#0000FF>";
    const std::string td = " <td><div align=><font color=#333333 size=2 face=Verdana>";
    const std::string end_td = "</font></div></td>\r\n";
    const std::string expected =
        "<HTML><HEAD></HEAD><BODY  BGCOLOR=#FFFFFF>\r\n"
        "<x0><p align=Center><font face=Arial size=6 color=#000000>Resumen</font></p><HR>"
        "<x1><p><font face=Tahoma size=3 color=#00FF00>Detalle</font></p><HR><x3>\r\n"
        "<TABLE width=100%  BORDER=1 Bordercolor=#FF0000 bgcolor=>\r\n"
        "<TR bgcolor=#92B6DA> \r\n\r\n" +
        th + "Código</font></div></TH>\r\n" + th + "Descripción</font></div></TH>\r\n" + th +
        "Total</font></div></TH>\r\n"
        "</TR>\r\n\r\n"
        "<TR bgcolor= > \r\n" +
        td + "&nbsp;&nbsp;AC" + end_td + td + "Consultas" + end_td + td + "12" + end_td +
        "</TR>\r\n\r\n"
        "<TR bgcolor= > \r\n" +
        td + "&nbsp;&nbsp;AP" + end_td + td + end_td + td + end_td +
        "</TR>\r\n\r\n"
        "</TR>\r\n\r\n"
        "</table>\r\n<BR><i4><HR><font face=verdana size=2 color=#000000>Pie</font><P><x5>" +
        kFooterTail;
    const std::string page = testing::read_file(path("informe.html"));
    EXPECT_EQ(page, expected);
    EXPECT_EQ(page.find("<x2>"), std::string::npos);
    EXPECT_EQ(progress_, (std::vector<int>{50, 100}));
    EXPECT_EQ(inits_, 1);
    EXPECT_EQ(ends_, 1);
    EXPECT_TRUE(ui_.messages.empty());
}

TEST_F(HtmlTableTest, RefusedSettingsAndOutputsSayWhy) {
    html_.set_cell_size("grande");
    EXPECT_EQ(html_.cell_size(), "2");
    expect_message(0, "El valor ingresado no es un número", "", Icon::Critical);
    html_.set_cell_size("4");
    EXPECT_EQ(html_.cell_size(), "4");

    for (const char* output : {"informe.html", ""}) {
        html_.set_output_path(output);
        EXPECT_FALSE(html_.write_page({}));
    }
    expect_message(2,
                   "No se ha indicado la ruta para generar el archivo html en la propiedad "
                   "OutputPath",
                   "", Icon::Exclamation);
    EXPECT_EQ(ends_, 2);
    EXPECT_EQ(inits_, 0);
    // A backslash ends the folder as a slash does.
    html_.set_output_path(path("win") + "\\informe.html");
    EXPECT_TRUE(html_.write_page({}));
    EXPECT_TRUE(fs::is_directory(path("win") + "\\"));

    fs::create_directory(path("ocupado"));
    html_.set_output_path(path("ocupado") + "/");  // the page's path is a folder
    EXPECT_FALSE(html_.write_page({{"A"}, {{"x"}}}));
    expect_message(3, "Es una carpeta", "N° de error: " + std::to_string(EISDIR), Icon::Critical);
    EXPECT_EQ(ends_, 4);
}

TEST_F(HtmlTableTest, EmptyListInMissingFolderGivesCompletePageAndProgressRoundsHalvesToEven) {
    const std::string sub = path("nuevo");
    html_.set_output_path(sub + "/vacio.html");
    ASSERT_TRUE(html_.write_page({}));
    // Unset settings are written empty, the header aligned left.
    const std::string page = testing::read_file(sub + "/vacio.html");
    EXPECT_EQ(page.rfind("<HTML><HEAD></HEAD><BODY  BGCOLOR=>\r\n<p align=Left><font face= size=6 "
                         "color=></font></p><HR>",
                         0),
              0u);
    EXPECT_NE(page.find("<TR bgcolor=> \r\n\r\n</TR>\r\n\r\n</TR>\r\n\r\n</table>"),
              std::string::npos);
    EXPECT_TRUE(progress_.empty());
    EXPECT_EQ(ends_, 1);

    ASSERT_TRUE(html_.write_page({{"A"}, std::vector<std::vector<std::string>>(8, {"x"})}));
    EXPECT_EQ(progress_, (std::vector<int>{12, 25, 38, 50, 62, 75, 88, 100}));
}

TEST_F(HtmlTableTest, LogoIsCopiedUnderTheClocksName) {
    html_.set_output_path(path("logo.html"));
    html_.set_logo_align(1);

    html_.set_logo_path(path("falta.png"));
    ASSERT_TRUE(html_.write_page({}));
    expect_message(0, "No se ha encontrado el archivo para el logo " + path("falta.png"), "",
                   Icon::Critical);
    EXPECT_EQ(testing::read_file(path("logo.html")).find("<img"), std::string::npos);

    std::ofstream(path("marca.png"), std::ios::binary) << "PNG";
    html_.set_logo_path(path("marca.png"));
    EXPECT_FALSE(html_.write_page({}));  // no "imagenes" folder to copy into
    expect_message(1, "No existe el archivo o la carpeta", "N° de error: " + std::to_string(ENOENT),
                   Icon::Critical);

    fs::create_directory(path("imagenes"));
    ASSERT_TRUE(html_.write_page({}));
    const std::string page = testing::read_file(path("logo.html"));
    const std::string head = "<HTML><HEAD></HEAD><BODY  BGCOLOR=>\r\n<p align=center><img src=";
    ASSERT_EQ(page.rfind(head, 0), 0u);
    const std::string linked = page.substr(head.size(), page.find('>', head.size()) - head.size());
    EXPECT_EQ(linked, "imagenes/45123-25logo.png");
    EXPECT_EQ(testing::read_file(path(linked)), "PNG");  // the page shows the logo it copied
    EXPECT_EQ(page.substr(head.size() + linked.size(), 18), "></p><p align=Left");
    EXPECT_EQ(ends_, 3);
}

TEST_F(HtmlTableTest, DialogsOfferTheirFiltersAndGiveTheOperatorsChoice) {
    ui_.choices = {"16711680", "  /datos/entrega 1.txt  ", "/datos/informe.html", "/datos"};
    EXPECT_EQ(html_.choose_color(2), "16711680");
    EXPECT_EQ(html_.choose_open_file("", "Abrir", "/datos"), "/datos/entrega 1.txt");
    EXPECT_EQ(html_.choose_save_file("Páginas (*.htm)|*.htm;*.html|Todos|*.*|", "Guardar", 2),
              "/datos/informe.html");
    EXPECT_EQ(html_.choose_folder("Carpeta"), "/datos");
    const std::vector<FileFilter> page_or_any = {{"Páginas (*.htm)", "*.htm;*.html"},
                                                 {"Todos", "*.*"}};
    EXPECT_EQ(ui_.dialogs,
              (std::vector<testing::OpenedDialog>{
                  {"color", "", "", {}, 2},
                  {"open", "Abrir", "/datos", {{"Todos los archivos (*.*)", "*.*"}}, 0},
                  {"save", "Guardar", "", page_or_any, 2},
                  {"folder", "Carpeta", "", {}, 0}}));

    // Cancelled, and on the command line where no dialog is shown: the empty text.
    EXPECT_EQ(html_.choose_open_file("Texto|*.txt", "Abrir", ""), "");
    EXPECT_EQ(ui_.dialogs.back().filters, (std::vector<FileFilter>{{"Texto", "*.txt"}}));
    ConsoleUi console(false);
    HtmlTable cli(console, clock_);
    EXPECT_EQ(cli.choose_color(0) + cli.choose_open_file("", "", "") +
                  cli.choose_save_file("", "", 1) + cli.choose_folder(""),
              "");
}

}  // namespace
}  // namespace corvela
