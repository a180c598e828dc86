#include "rules/reference_cache.h"

namespace corvela {

std::string fold_case(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    return out;
}

struct ReferenceCache::Queries {
    explicit Queries(Database& ref)
        : codes{ref.prepare("select count(*) from R_TIPO_DOCUMENTO where CODIGO = ?"),
                ref.prepare("select count(*) from R_TIPO_DOCUMENTO1 where CODIGO = ?"),
                ref.prepare("select count(*) from R_tipo_usuario where CODIGO = ?"),
                ref.prepare("select count(*) from r_finalidad_consulta where id = ?"),
                ref.prepare("select count(*) from r_causa_externa where CODIGO = ?"),
                ref.prepare("select count(*) from R_AD_conceptos where id = ?")},
          municipality(
              ref.prepare("select count(*) from r_municipios where coddepto = ? and codmuni = ?")),
          cie10(ref.prepare(
              "select sexo, lim_inf, lim_sup from r_cie10 where codigo = ? order by codigo")),
          cups(ref.prepare(
              "select sexo, edad_ini, edad_fin from cups where codigo = ? and archivo = ?")) {}

    // Binds the values and steps once; true when a row came.
    static bool run(Statement& st, std::string_view a, std::string_view b = {}, int n = 1) {
        st.reset();
        st.bind(1, std::string(a));
        if (n == 2) st.bind(2, std::string(b));
        return st.step();
    }
    static bool exists(Statement& st, std::string_view a, std::string_view b = {}, int n = 1) {
        return run(st, a, b, n) && st.integer(0) > 0;
    }

    Statement codes[6];
    Statement municipality, cie10, cups;
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
        Statement st = ref.prepare(queries[i]);
        while (st.step())
            if (!st.is_null(0)) codes_[i].insert(FoldedKey(st.text(0)), true);
    }
    Statement mun = ref.prepare("SELECT coddepto, codmuni FROM r_municipios");
    while (mun.step()) municipalities_.insert(FoldedKey(mun.text(0), mun.text(1)), true);
    // The first row of a code in code order is the one a lookup finds.
    Statement dx =
        ref.prepare("SELECT codigo, sexo, lim_inf, lim_sup FROM r_cie10 ORDER BY codigo");
    while (dx.step())
        cie10_.insert(FoldedKey(dx.text(0)), Diagnosis{dx.text(1), dx.text(2), dx.text(3)});
    Statement px = ref.prepare("SELECT codigo, archivo, sexo, edad_ini, edad_fin FROM cups");
    while (px.step())
        cups_.insert(FoldedKey(px.text(0), px.text(1)),
                     Procedure{px.text(2), px.text(3), px.text(4)});
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
        found_dx_ = Diagnosis{st.text(0), st.text(1), st.text(2)};
        return &found_dx_;
    }
    return cie10_.find(codigo);
}

const Procedure* ReferenceCache::cups(std::string_view codigo, std::string_view archivo) const {
    if (queries_) {
        auto& st = queries_->cups;
        if (!Queries::run(st, codigo, archivo, 2)) return nullptr;
        found_px_ = Procedure{st.text(0), st.text(1), st.text(2)};
        return &found_px_;
    }
    return cups_.find(FoldedKey(codigo, archivo));
}

}  // namespace corvela
