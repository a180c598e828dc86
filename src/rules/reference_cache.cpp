#include "rules/reference_cache.h"

namespace corvela {

std::string fold_case(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    return out;
}

namespace {
std::string pair_key(std::string_view a, std::string_view b) {
    std::string k = fold_case(a);
    k += '\x1f';
    k += fold_case(b);
    return k;
}

std::string text(SQLite::Statement& st, int col) {
    auto c = st.getColumn(col);
    return c.isNull() ? std::string() : c.getString();
}
}  // namespace

ReferenceCache::ReferenceCache(Database& ref) {
    static const char* const queries[6] = {
        "SELECT CODIGO FROM R_TIPO_DOCUMENTO", "SELECT CODIGO FROM R_TIPO_DOCUMENTO1",
        "SELECT CODIGO FROM R_tipo_usuario",   "SELECT id FROM r_finalidad_consulta",
        "SELECT CODIGO FROM r_causa_externa",  "SELECT id FROM R_AD_conceptos"};
    for (int i = 0; i < 6; ++i) {
        SQLite::Statement st(ref.db(), queries[i]);
        while (st.executeStep())
            if (!st.getColumn(0).isNull()) codes_[i].insert(fold_case(st.getColumn(0).getString()));
    }
    SQLite::Statement mun(ref.db(), "SELECT coddepto, codmuni FROM r_municipios");
    while (mun.executeStep()) municipalities_.insert(pair_key(text(mun, 0), text(mun, 1)));
    // The first row of a code in code order is the one a lookup finds.
    SQLite::Statement dx(ref.db(),
                         "SELECT codigo, sexo, lim_inf, lim_sup FROM r_cie10 ORDER BY codigo");
    while (dx.executeStep())
        cie10_.emplace(fold_case(text(dx, 0)), Diagnosis{text(dx, 1), text(dx, 2), text(dx, 3)});
    SQLite::Statement px(ref.db(), "SELECT codigo, archivo, sexo, edad_ini, edad_fin FROM cups");
    while (px.executeStep())
        cups_.emplace(pair_key(text(px, 0), text(px, 1)),
                      Procedure{text(px, 2), text(px, 3), text(px, 4)});
}

bool ReferenceCache::has_code(CodeTable table, std::string_view value) const {
    return codes_[static_cast<int>(table)].count(fold_case(value)) > 0;
}

bool ReferenceCache::has_municipality(std::string_view depto, std::string_view muni) const {
    return municipalities_.count(pair_key(depto, muni)) > 0;
}

const Diagnosis* ReferenceCache::cie10(std::string_view codigo) const {
    auto it = cie10_.find(fold_case(codigo));
    return it == cie10_.end() ? nullptr : &it->second;
}

const Procedure* ReferenceCache::cups(std::string_view codigo, std::string_view archivo) const {
    auto it = cups_.find(pair_key(codigo, archivo));
    return it == cups_.end() ? nullptr : &it->second;
}

}  // namespace corvela
