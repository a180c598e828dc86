#include "app/months.h"

namespace corvela {

void mostrar_meses(Program& program) {
    Database& work = *program.work;
    work.exec(" Delete from fechas");
    static const char* const sources[][2] = {
        {"SELECT distinct month(consulta.fecha_consul)as mes, year(consulta.fecha_consul) as ano ",
         "From consulta"},
        {"SELECT distinct month(procedimientos.fecha)as mes, year(procedimientos.fecha) as ano ",
         "From procedimientos"},
        {"SELECT distinct month(urgencias.fecha_salida)as mes, year(urgencias.fecha_salida) as "
         "ano ",
         "From urgencias"},
        {"SELECT distinct month(hospitalizacion.fecha_egre)as mes, "
         "year(hospitalizacion.fecha_egre) as ano ",
         "From hospitalizacion"},
        {"SELECT distinct month(nacidos.fecha_naci)as mes, year(nacidos.fecha_naci) as ano ",
         "From nacidos"},
    };
    for (const auto& s : sources) work.exec(std::string("INSERT INTO fechas ") + s[0] + s[1]);
    program.ui.show_months(" MESES REPORTADOS", "Mes", "Año", reported_months(work));
}

std::vector<std::pair<int, int>> reported_months(Database& work) {
    std::vector<std::pair<int, int>> rows;
    SQLite::Statement st(work.db(), "select distinct * from fechas order by ano,mes");
    while (st.executeStep()) rows.emplace_back(st.getColumn(0).getInt(), st.getColumn(1).getInt());
    return rows;
}

}  // namespace corvela
