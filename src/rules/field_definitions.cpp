#include "rules/field_definitions.h"

#include <cmath>

#include "platform/text.h"

namespace corvela {

FieldDefinitions::FieldDefinitions(Database& ref, const std::string& type) {
    std::string code = left_chars(type, 2);
    SQLite::Statement st(ref.db(),
                         "SELECT id, Long, tipo, tabla, dato FROM R_Campos WHERE ARCHIVO = ?");
    st.bind(1, code);
    double sum = 0;
    while (st.executeStep()) {
        ++count_;
        FieldDefinition f;
        f.Long = st.getColumn(1).getDouble();
        f.tipo = st.getColumn(2).getString();
        f.tabla = st.getColumn(3).getString();
        f.dato = st.getColumn(4).getString();
        sum += f.Long;
        int id = static_cast<int>(st.getColumn(0).getDouble());
        fields_.emplace(id, std::move(f));  // the first row of an id is the one found
    }
    sum_ = static_cast<int>(std::lround(sum));
}

const FieldDefinition* FieldDefinitions::find(int id) const {
    auto it = fields_.find(id);
    return it == fields_.end() ? nullptr : &it->second;
}

const std::string& FieldDefinitions::dato(int id) const {
    static const std::string empty;
    const FieldDefinition* f = find(id);
    return f ? f->dato : empty;
}

int suma_longitudes(Database& ref, const std::string& type) {
    SQLite::Statement st(ref.db(),
                         "SELECT Sum(R_Campos.Long) AS SumaDeLong FROM R_Campos WHERE ARCHIVO = ?");
    st.bind(1, left_chars(type, 2));
    if (!st.executeStep() || st.getColumn(0).isNull()) return 0;
    return static_cast<int>(std::lround(st.getColumn(0).getDouble()));
}

}  // namespace corvela
