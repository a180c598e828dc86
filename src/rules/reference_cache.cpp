#include "rules/reference_cache.h"

namespace corvela {

std::string fold_case(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    return out;
}

namespace {
std::string text(SQLite::Statement& st, int col) {
    auto c = st.getColumn(col);
    return c.isNull() ? std::string() : c.getString();
}
}  // namespace

struct ReferenceCache::Queries {
    explicit Queries(Database& ref)
        : codes{SQLite::Statement(ref.db(),
                                  "select count(*) from R_TIPO_DOCUMENTO where CODIGO = ?"),
                SQLite::Statement(ref.db(),
                                  "select count(*) from R_TIPO_DOCUMENTO1 where CODIGO = ?"),
                SQLite::Statement(ref.db(), "select count(*) from R_tipo_usuario where CODIGO = ?"),
                SQLite::Statement(ref.db(),
                                  "select count(*) from r_finalidad_consulta where id = ?"),
                SQLite::Statement(ref.db(),
                                  "select count(*) from r_causa_externa where CODIGO = ?"),
                SQLite::Statement(ref.db(), "select count(*) from R_AD_conceptos where id = ?")},
          municipality(ref.db(),
                       "select count(*) from r_municipios where coddepto = ? and codmuni = ?"),
          cie10(ref.db(),
                "select sexo, lim_inf, lim_sup from r_cie10 where codigo = ? order by codigo"),
          cups(ref.db(),
               "select sexo, edad_ini, edad_fin from cups where codigo = ? and archivo = ?") {}

    // Binds the values and steps once; true when a row came.
    static bool run(SQLite::Statement& st, std::string_view a, std::string_view b = {}, int n = 1) {
        st.reset();
        st.bind(1, std::string(a));
        if (n == 2) st.bind(2, std::string(b));
        return st.executeStep();
    }
    static bool exists(SQLite::Statement& st, std::string_view a, std::string_view b = {},
                       int n = 1) {
        return run(st, a, b, n) && st.getColumn(0).getInt64() > 0;
    }

    SQLite::Statement codes[6];
    SQLite::Statement municipality, cie10, cups;
};

ReferenceCache::~ReferenceCache() = default;

ReferenceCache::ReferenceCache(Database& ref, bool uncached) {
    if (uncached) {
        queries_ = std::make_unique<Queries>(ref);
        return;
    }
    static const char* const queries[6] = {
        "SELECT CODIGO FROM R_TIPO_DOCUMENTO", "SELECT CODIGO FROM R_TIPO_DOCUMENTO1",
        "SELECT CODIGO FROM R_tipo_usuario",   "SELECT id FROM r_finalidad_consulta",
        "SELECT CODIGO FROM r_causa_externa",  "SELECT id FROM R_AD_conceptos"};
    for (int i = 0; i < 6; ++i) {
        SQLite::Statement st(ref.db(), queries[i]);
        while (st.executeStep())
            if (!st.getColumn(0).isNull())
                codes_[i].insert(FoldedKey(st.getColumn(0).getString()), true);
    }
    SQLite::Statement mun(ref.db(), "SELECT coddepto, codmuni FROM r_municipios");
    while (mun.executeStep()) municipalities_.insert(FoldedKey(text(mun, 0), text(mun, 1)), true);
    // The first row of a code in code order is the one a lookup finds.
    SQLite::Statement dx(ref.db(),
                         "SELECT codigo, sexo, lim_inf, lim_sup FROM r_cie10 ORDER BY codigo");
    while (dx.executeStep())
        cie10_.insert(FoldedKey(text(dx, 0)), Diagnosis{text(dx, 1), text(dx, 2), text(dx, 3)});
    SQLite::Statement px(ref.db(), "SELECT codigo, archivo, sexo, edad_ini, edad_fin FROM cups");
    while (px.executeStep())
        cups_.insert(FoldedKey(text(px, 0), text(px, 1)),
                     Procedure{text(px, 2), text(px, 3), text(px, 4)});
}

bool ReferenceCache::has_code(CodeTable table, std::string_view value) const {
    if (queries_) return Queries::exists(queries_->codes[static_cast<int>(table)], value);
    return codes_[static_cast<int>(table)].find(value) != nullptr;
}

bool ReferenceCache::has_municipality(std::string_view depto, std::string_view muni) const {
    if (queries_) return Queries::exists(queries_->municipality, depto, muni, 2);
    return municipalities_.find(FoldedKey(depto, muni)) != nullptr;
}

const Diagnosis* ReferenceCache::cie10(std::string_view codigo) const {
    if (queries_) {
        auto& st = queries_->cie10;
        if (!Queries::run(st, codigo)) return nullptr;
        found_dx_ = Diagnosis{text(st, 0), text(st, 1), text(st, 2)};
        return &found_dx_;
    }
    return cie10_.find(codigo);
}

const Procedure* ReferenceCache::cups(std::string_view codigo, std::string_view archivo) const {
    if (queries_) {
        auto& st = queries_->cups;
        if (!Queries::run(st, codigo, archivo, 2)) return nullptr;
        found_px_ = Procedure{text(st, 0), text(st, 1), text(st, 2)};
        return &found_px_;
    }
    return cups_.find(FoldedKey(codigo, archivo));
}

}  // namespace corvela
