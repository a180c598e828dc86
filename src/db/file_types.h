// The ten data file types of a delivery, in one place: each type's code, the word that names its
// file in a failure message, its working table and the final table with the same columns, each
// column with its declared type and how a passing record's value is bound to it, and the date
// column the reported months come from. The schema, the stored rows, the save, the emptying of
// the working tables, the clean-up and the months are all derived from it.
#pragma once

#include <array>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "db/column_type.h"

namespace corvela {

// How the value of a passing record goes into a column. Column i takes field i of the record.
enum class Binding {
    Text,        // the field as read
    TextOrNull,  // the field, or null when it is empty
    Number,      // the leading number of the field
    Date,        // a dd/mm/yyyy field as ISO text; null when it is no date
    Radicacion,  // the radicación number of the run, not a field
    Validator,   // set by the validator (the medications' service date)
};

struct Column {
    const char* name;
    ColumnType type;  // Text, Number or Date
    Binding binding;
};

struct FileType {
    const char* type;       // file type code, the first two letters of the data file's name
    const char* file_word;  // names the file in the failure message of a run
    const char* table;      // working table
    const char* final;      // final table, with the columns of the working table
    std::span<const Column> columns;
    const char* month_column;  // date column of the reported months; null when none
};

// Every file type, in the order their tables are created.
std::span<const FileType> file_types();
// The file type of a code (two letters, upper case), or null.
const FileType* find_file_type(std::string_view code);
// The file type of a code the system itself names; an unknown code is a fault of the program.
const FileType& file_type(std::string_view code);

std::vector<std::string> column_names(const FileType& type);
// The number of columns that take a field of the record: the record's field count. The
// radicación column and the columns the validator fills itself are not among them.
size_t field_column_count(const FileType& type);
// The column that takes the radicación number.
const char* radicacion_column(const FileType& type);
// True when the type's tables have the column (letter case ignored).
bool has_column(const FileType& type, std::string_view name);

// The orders in which operations go over the file types, by code. They differ from one operation
// to another on purpose and are kept as each operation has always gone.
//
// The save counts the rows of the working tables in this order.
inline constexpr std::array<std::string_view, 10> kCountOrder = {"AM", "AC", "AN", "AH", "AU",
                                                                 "AP", "US", "AF", "AD", "AT"};
// It stamps the working tables with the new number in the same order, the error table after the
// users' table.
inline constexpr std::string_view kErrorTable = "ERRORES";
inline constexpr std::array<std::string_view, 11> kStampOrder = {
    "AM", "AC", "AN", "AH", "AU", "AP", "US", kErrorTable, "AF", "AD", "AT"};
// It copies each working table into its final table in this order.
inline constexpr std::array<std::string_view, 10> kCopyOrder = {"AC", "AH", "AM", "AN", "AP",
                                                                "AU", "US", "AF", "AD", "AT"};
// A new run empties the working tables in this order; the transactions' table is emptied twice.
inline constexpr std::array<std::string_view, 11> kEmptyingOrder = {
    "AC", "AH", "AM", "AN", "AP", "AU", "US", "AF", "AD", "AF", "AT"};
// The clean-up empties the final tables in the order of their names.
inline constexpr std::array<std::string_view, 10> kCleanUpOrder = {"AC", "AD", "AH", "AM", "AN",
                                                                   "AT", "AP", "AF", "AU", "US"};
// Deleting a saved delivery goes over the final tables in this order, the users' last.
inline constexpr std::array<std::string_view, 10> kDeletionOrder = {"AC", "AH", "AM", "AN", "AP",
                                                                    "AU", "AF", "AD", "AT", "US"};

}  // namespace corvela
