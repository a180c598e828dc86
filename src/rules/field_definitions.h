// The field definitions of a file type, read from `R_Campos` once per data file: the field
// count, the sum of the maximum lengths, and per field its maximum length, type, table and
// display name.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "db/database.h"

namespace corvela {

struct FieldDefinition {
    double Long = 0;
    std::string tipo;
    std::string tabla;
    std::string dato;
};

class FieldDefinitions {
  public:
    // Reads the rows of the type (its first two characters).
    FieldDefinitions(Database& ref, const std::string& type);

    // `cuenta_campos`: the number of rows of the type.
    int cuenta_campos() const { return count_; }
    // `suma_longitudes`: the sum of the maximum lengths (0 when the type has no rows).
    int suma_longitudes() const { return sum_; }
    // The row of field `id`, or nullptr when the type has none.
    const FieldDefinition* find(int id) const;
    // The display name of field `id`; empty when the type has no such row.
    const std::string& dato(int id) const;

  private:
    int count_ = 0;
    int sum_ = 0;
    std::vector<std::optional<FieldDefinition>> fields_;  // by id
};

// Why the field definitions cannot be used: "Las definiciones de campos de <TIPO> tienen <n>
// campos y Corvela guarda <m>: importe un R_Campos completo." for the first file type whose
// field count differs from the columns its record fills; empty when every type agrees.
std::string field_count_fault(Database& ref);

// `suma_longitudes` straight from the database, for the control file.
int suma_longitudes(Database& ref, const std::string& type);

}  // namespace corvela
