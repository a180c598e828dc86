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
    double max_length = 0;
    std::string kind;
    std::string table;
    std::string name;
};

class FieldDefinitions {
  public:
    // Reads the rows of the type (its first two characters).
    FieldDefinitions(Database& ref, const std::string& type);

    // The number of rows of the type: the fields of its records.
    int count() const { return count_; }
    // The sum of the maximum lengths, the longest line of the type (0 when the type has no rows).
    int line_length() const { return sum_; }
    // The row of field `id`, or nullptr when the type has none.
    const FieldDefinition* find(int id) const;
    // The display name of field `id`; empty when the type has no such row.
    const std::string& name(int id) const;

  private:
    int count_ = 0;
    int sum_ = 0;
    std::vector<std::optional<FieldDefinition>> fields_;  // by id
};

// Why the field definitions cannot be used: "Las definiciones de campos de <TIPO> tienen <n>
// campos y Corvela guarda <m>: importe un R_Campos completo." for the first file type whose
// field count differs from the columns its record fills; empty when every type agrees.
std::string field_count_fault(Database& ref);

// The sum of the maximum lengths of a type straight from the database, for the control file.
int defined_line_length(Database& ref, const std::string& type);

}  // namespace corvela
