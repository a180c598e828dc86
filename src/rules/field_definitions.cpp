#include "rules/field_definitions.h"

#include <cmath>

#include "db/file_types.h"
#include "platform/text.h"

namespace corvela {

FieldDefinitions::FieldDefinitions(Database& ref, const std::string& type) {
    std::string code = left_chars(type, 2);
    Statement st =
        ref.prepare("SELECT id, Long, tipo, tabla, dato FROM R_Campos WHERE ARCHIVO = ?");
    st.bind(1, code);
    double sum = 0;
    while (st.step()) {
        ++count_;
        FieldDefinition f;
        f.max_length = st.real(1);
        f.kind = st.text(2);
        f.table = st.text(3);
        f.name = st.text(4);
        sum += f.max_length;
        // The first row of an id is the one found; ids other than whole numbers 1..999 are never
        // asked for.
        double number = st.real(0);
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

const std::string& FieldDefinitions::name(int id) const {
    static const std::string empty;
    const FieldDefinition* f = find(id);
    return f ? f->name : empty;
}

std::string field_count_fault(Database& ref) {
    for (const FileType& type : file_types()) {
        const int defined = FieldDefinitions(ref, type.type).count();
        const size_t stored = field_column_count(type);
        if (static_cast<size_t>(defined) != stored)
            return "Las definiciones de campos de " + std::string(type.type) + " tienen " +
                   std::to_string(defined) + " campos y Corvela guarda " + std::to_string(stored) +
                   ": importe un R_Campos completo.";
    }
    return {};
}

int defined_line_length(Database& ref, const std::string& type) {
    Statement st =
        ref.prepare("SELECT Sum(R_Campos.Long) AS SumaDeLong FROM R_Campos WHERE ARCHIVO = ?");
    st.bind(1, left_chars(type, 2));
    if (!st.step() || st.is_null(0)) return 0;
    return static_cast<int>(std::lround(st.real(0)));
}

}  // namespace corvela
