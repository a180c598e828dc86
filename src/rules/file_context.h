// The state of one data file under validation: the current line (`campo`, `marcas`,
// `descripcion`, `errores_linea`, the several-messages flag, the saved count) and the file's
// counters `C1`..`C30`, `lineas_leidas` and `lineas_validas`.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "rules/field_definitions.h"

namespace corvela {

// Where a check leaves the message of an error it counts when the message joins the description
// later: the user relation, the diagnosis lookup, the sex and the age checks.
enum class MessageSlot { None, User, Diagnosis, Sex, Age };

// One error of the current line, kept while the line is checked so that each can be shown apart:
// the field it is about (0 for the record as a whole), what it checks (the name of an error that
// puts no text of its own into the description), the slot its message waits in, and the part
// of `descripcion` its text took, the separator before it included (empty while it has none).
struct LineError {
    int field = 0;
    std::string_view check;
    MessageSlot slot = MessageSlot::None;
    size_t begin = 0, end = 0;
};

struct FileContext {
    std::string type;  // file type code, two letters in upper case
    const FieldDefinitions* defs = nullptr;
    int num_campos = 0;
    int suma = 0;

    std::string linea;               // the line as read, as it goes to the output files
    std::vector<std::string> campo;  // campo[1..num_campos]; campo[0] unused
    std::string descripcion;
    std::string marcas;
    int errores_linea = 0;
    int varios_mensajes = 0;         // set when an error was appended to a non-empty description
    int guardados = 0;               // saved count of the validators that keep one
    int campos_contados = 0;         // fields counted by the split of the current line
    std::vector<LineError> errores;  // the errors of the current line, as they were found

    std::array<double, 31> C{};  // C[1]..C[30]
    long lineas_leidas = 0;
    long lineas_validas = 0;
    std::string declared_count;  // record count the control file declares for the type

    // Field k, or an empty text when k is outside 1..num_campos.
    const std::string& field(int k) const {
        static const std::string empty;
        return k >= 1 && k < static_cast<int>(campo.size()) ? campo[static_cast<size_t>(k)] : empty;
    }
    // Field k for rewriting; a field the type does not define gives a scratch text.
    std::string& field_ref(int k) {
        if (k >= 1 && k < static_cast<int>(campo.size())) return campo[static_cast<size_t>(k)];
        scratch.clear();
        return scratch;
    }
    std::string scratch;
};

}  // namespace corvela
