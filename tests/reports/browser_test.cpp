// The exported report page as a browser shows it: headless Chromium renders the page and the
// table's cells are read back from the document it builds.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <regex>

#include "app/save.h"
#include "reports/informe.h"
#include "support/installation.h"

namespace corvela {
namespace {

using testing::crlf;

std::string chromium() {
    for (const char* p : {"/usr/bin/chromium", "/usr/bin/chromium-browser"})
        if (std::filesystem::exists(p)) return p;
    return {};
}

// The document Chromium builds from the page.
std::string rendered_dom(const std::string& browser, const std::filesystem::path& page,
                         const std::filesystem::path& profile) {
    std::string cmd = browser +
                      " --headless --no-sandbox --disable-gpu --disable-quic --no-first-run"
                      " --disable-background-networking --disable-component-update"
                      " --disable-sync --user-data-dir='" +
                      profile.string() + "' --dump-dom 'file://" + page.string() + "' 2>/dev/null";
    std::string out;
    if (FILE* p = popen(cmd.c_str(), "r")) {
        std::array<char, 4096> buf;
        size_t n;
        while ((n = fread(buf.data(), 1, buf.size(), p)) > 0) out.append(buf.data(), n);
        pclose(p);
    }
    return out;
}

// The texts of the cells (th and td) of the rendered table, tags removed, blanks trimmed.
std::vector<std::string> cells(const std::string& dom) {
    std::vector<std::string> out;
    std::regex cell(R"(<t[hd][^>]*>([\s\S]*?)</t[hd]>)", std::regex::icase);
    std::regex tag("<[^>]*>");
    for (auto it = std::sregex_iterator(dom.begin(), dom.end(), cell); it != std::sregex_iterator();
         ++it) {
        std::string text = std::regex_replace((*it)[1].str(), tag, "");
        text = std::regex_replace(text, std::regex("&nbsp;|\xC2\xA0"), " ");
        out.emplace_back(trim(text));
    }
    return out;
}

TEST(ReportPage, ChromiumShowsTheSummaryCells) {
    std::string browser = chromium();
    if (browser.empty()) GTEST_SKIP() << "chromium is not installed";
    testing::Installation inst;
    testing::ScriptedUi ui;
    inst.write("CT000001.TXT", crlf({"760010012301,01/11/2026,US000001,2"}));
    inst.write("US000001.TXT", crlf({"CC,123456,EPS005,1,GOMEZ,,ANA,,30,1,M,76,001,U", "x"}));
    testing::FixedClock clock({2026, 12, 6});
    Program program(ui, clock);
    ASSERT_TRUE(program.start(inst.config));
    ASSERT_EQ(BLeer_Click(program, inst.delivery), RunOutcome::Summary);
    Cmdgraba_Click(program);

    Informe informe(program);
    informe.Form_Load();
    ASSERT_EQ(informe.deliveries().size(), 1u);
    ASSERT_TRUE(informe.generar_informe_Click());
    auto page = inst.dir / "reporte.html";
    ASSERT_EQ(informe.cmdExport_Click(page.string()), page.string());

    auto found = cells(rendered_dom(browser, page, inst.dir / "chromium"));
    std::vector<std::string> want = {
        "Archivo", "Leidos", "Inconsistentes", "Pasan_Validacion", "Reg_Correctos", "US", "2", "1",
        "1",       "1"};
    EXPECT_EQ(found, want);
}

}  // namespace
}  // namespace corvela
