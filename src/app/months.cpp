#include "app/months.h"

#include "db/file_types.h"

namespace corvela {

void show_reported_months(Program& program) {
    Database& work = *program.work;
    work.exec(" Delete from fechas");
    // Each table with a month column adds the months and years of that column's dates.
    for (const auto& t : file_types()) {
        if (!t.month_column) continue;
        const std::string column = std::string(t.table) + "." + t.month_column;
        work.exec("INSERT INTO fechas SELECT distinct month(" + column + ") as mes, year(" +
                  column + ") as ano From " + t.table);
    }
    program.ui.show_months(" MESES REPORTADOS", "Mes", "Año", reported_months(work));
}

std::vector<std::pair<int, int>> reported_months(Database& work) {
    std::vector<std::pair<int, int>> rows;
    Statement st = work.prepare("select distinct mes, ano from fechas order by ano,mes");
    while (st.step())
        rows.emplace_back(static_cast<int>(st.integer(0)), static_cast<int>(st.integer(1)));
    return rows;
}

}  // namespace corvela
