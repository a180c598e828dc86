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
        // The first row of an id is the one found; ids other than whole numbers 1..999 are never
        // asked for.
        double number = st.getColumn(0).getDouble();
        if (!(number >= 1 && number <= 999) || number != std::floor(number)) continue;
        int id = static_cast<int>(number);
        if (fields_.size() <= static_cast<size_t>(id)) fields_.resize(static_cast<size_t>(id) + 1);
        if (!fields_[static_cast<size_t>(id)]) fields_[static_cast<size_t>(id)] = std::move(f);
    }
    sum_ = static_cast<int>(std::lround(sum));
}

const FieldDefinition* FieldDefinitions::find(int id) const {
    if (id < 1 || static_cast<size_t>(id) >= fields_.size() || !fields_[static_cast<size_t>(id)])
        return nullptr;
    return &*fields_[static_cast<size_t>(id)];
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
