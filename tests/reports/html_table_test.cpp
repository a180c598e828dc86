// The HTML table writer: the page byte for byte, colours and alignments, refused outputs and the
// ways an export ends early.
#include "reports/html_table.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

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
    html_.set_output_path(path("informe.html"));

    ListView list{{" Código ", "Descripción", "Total"}, {{"AC", "Consultas", "12"}, {"AP"}}};
    ASSERT_TRUE(html_.write_page(list).ok());

    const std::string th = " <TH><div align=Right><font size=3 face=Arial color=#0000FF>";
    const std::string td = " <td><div align=><font color=#333333 size=2 face=Verdana>";
    const std::string end_td = "</font></div></td>\r\n";
    const std::string expected =
        "<HTML><HEAD></HEAD><BODY  BGCOLOR=#FFFFFF>\r\n"
        "<p align=Center><font face=Arial size=6 color=#000000>Resumen</font></p><HR>"
        "<p><font face=Tahoma size=3 color=#00FF00>Detalle</font></p><HR>\r\n"
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
        "</table>\r\n<BR><HR><font face=verdana size=2 color=#000000>Pie</font><P>" +
        kFooterTail;
    const std::string page = testing::read_file(path("informe.html"));
    EXPECT_EQ(page, expected);
    EXPECT_EQ(progress_, (std::vector<int>{50, 100}));
    EXPECT_TRUE(ui_.messages.empty());
}

TEST_F(HtmlTableTest, RefusedOutputsSayWhy) {
    for (const char* output : {"informe.html", ""}) {
        html_.set_output_path(output);
        EXPECT_FALSE(html_.write_page({}).ok());
    }
    expect_message(1,
                   "No se ha indicado la ruta para generar el archivo html en la propiedad "
                   "OutputPath",
                   "", Icon::Exclamation);
    // A backslash ends the folder as a slash does.
    html_.set_output_path(path("win") + "\\informe.html");
    EXPECT_TRUE(html_.write_page({}).ok());
    EXPECT_TRUE(fs::is_directory(path("win") + "\\"));

    fs::create_directory(path("ocupado"));
    html_.set_output_path(path("ocupado") + "/");  // the page's path is a folder
    EXPECT_FALSE(html_.write_page({{"A"}, {{"x"}}}).ok());
    expect_message(2, "Es una carpeta", "N° de error: " + std::to_string(EISDIR), Icon::Critical);
}

TEST_F(HtmlTableTest, EmptyListInMissingFolderGivesCompletePageAndProgressRoundsHalvesToEven) {
    const std::string sub = path("nuevo");
    html_.set_output_path(sub + "/vacio.html");
    ASSERT_TRUE(html_.write_page({}).ok());
    // Unset settings are written empty, the header aligned left.
    const std::string page = testing::read_file(sub + "/vacio.html");
    EXPECT_EQ(page.rfind("<HTML><HEAD></HEAD><BODY  BGCOLOR=>\r\n<p align=Left><font face= size=6 "
                         "color=></font></p><HR>",
                         0),
              0u);
    EXPECT_NE(page.find("<TR bgcolor=> \r\n\r\n</TR>\r\n\r\n</TR>\r\n\r\n</table>"),
              std::string::npos);
    EXPECT_TRUE(progress_.empty());

    ASSERT_TRUE(html_.write_page({{"A"}, std::vector<std::vector<std::string>>(8, {"x"})}).ok());
    EXPECT_EQ(progress_, (std::vector<int>{12, 25, 38, 50, 62, 75, 88, 100}));
}

}  // namespace
}  // namespace corvela
