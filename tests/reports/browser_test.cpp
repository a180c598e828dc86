// What the byte-exact page test cannot see: that a browser makes a table of the page (whose head
// comes after its body and whose table closes a row twice) with the right texts in its cells,
// accented letters included although the page names no encoding. Headless Chromium renders the
// page and the cells are read back from the document it builds.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <regex>

#include "platform/text.h"
#include "reports/html_table.h"
#include "support/installation.h"

namespace corvela {
namespace {

const char* const kChromium = "/usr/bin/chromium";

// The document headless Chromium builds from the page.
std::string rendered_dom(const std::filesystem::path& page, const std::filesystem::path& profile) {
    const std::string cmd = std::string(kChromium) +
                            " --headless --no-sandbox --disable-gpu --no-first-run"
                            " --disable-background-networking --disable-component-update"
                            " --disable-sync --user-data-dir='" +
                            profile.string() + "' --dump-dom 'file://" + page.string() +
                            "' 2>/dev/null";
    std::string out;
    if (FILE* p = popen(cmd.c_str(), "r")) {
        std::array<char, 4096> buf;
        size_t n;
        while ((n = fread(buf.data(), 1, buf.size(), p)) > 0) out.append(buf.data(), n);
        pclose(p);
    }
    return out;
}

// The texts of the table's cells (th and td), tags removed, blanks and no-break spaces trimmed.
std::vector<std::string> cells(const std::string& dom) {
    const std::regex cell(R"(<t[hd][^>]*>([\s\S]*?)</t[hd]>)", std::regex::icase);
    const std::regex tag("<[^>]*>"), blank("&nbsp;|\xC2\xA0");
    std::vector<std::string> out;
    for (auto it = std::sregex_iterator(dom.begin(), dom.end(), cell); it != std::sregex_iterator();
         ++it)
        out.emplace_back(
            trim(std::regex_replace(std::regex_replace((*it)[1].str(), tag, ""), blank, " ")));
    return out;
}

TEST(ReportPage, ChromiumShowsTheTableWithItsTexts) {
    if (!std::filesystem::exists(kChromium)) GTEST_SKIP() << "chromium is not installed";
    testing::Installation inst;
    testing::ScriptedUi ui;
    testing::FixedClock clock({2026, 12, 6});
    HtmlTable html(ui, clock);
    const auto page = inst.dir / "reporte.html";
    html.set_output_path(page.string());
    html.set_title("Resultado Validación");
    ASSERT_TRUE(
        html.write_page({{"Archivo", "Descripción", "Leidos"}, {{"US", "Año niño", "3"}, {"AD"}}}));

    EXPECT_EQ(cells(rendered_dom(page, inst.dir / "chromium")),
              (std::vector<std::string>{"Archivo", "Descripción", "Leidos", "US", "Año niño", "3",
                                        "AD", "", ""}));
}

}  // namespace
}  // namespace corvela
