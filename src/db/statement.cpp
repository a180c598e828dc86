#include "db/statement.h"

#include "platform/text.h"

namespace corvela {

int Statement::column_index(std::string_view name) const {
    for (int i = 0; i < column_count(); ++i)
        if (equals_nocase(column_name(i), name)) return i;
    throw failure(Fault::NoSuchColumn, "no existe la columna " + std::string(name));
}

}  // namespace corvela
