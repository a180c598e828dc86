// The state of one data file under validation: the current line (`fields`, `marks`,
// `description`, `line_errors`, the several-messages flag, the saved count) and the file's
// counters `C1`..`C30`, `lines_read` and `lines_passed`.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "rules/counters.h"
#include "rules/field_definitions.h"

namespace corvela {

// Where a check leaves the message of an error it counts when the message joins the description
// later: the user relation, the diagnosis lookup, the sex and the age checks.
enum class MessageSlot { None, User, Diagnosis, Sex, Age };

// One error of the current line, kept while the line is checked so that each can be shown apart:
// the field it is about (0 for the record as a whole), what it checks (the name of an error that
// puts no text of its own into the description), the slot its message waits in, and the part
// of `description` its text took, the separator before it included (empty while it has none).
struct LineError {
    int field = 0;
    std::string_view check;
    MessageSlot slot = MessageSlot::None;
    size_t begin = 0, end = 0;
};

struct FileContext {
    std::string type;  // file type code, two letters in upper case
    const FieldDefinitions* defs = nullptr;
    int field_count = 0;
    int line_limit = 0;

    std::string line;                 // the line as read, as it goes to the output files
    std::vector<std::string> fields;  // fields[1..field_count]; fields[0] unused
    std::string description;
    std::string marks;
    int line_errors = 0;
    int several_messages = 0;       // set when an error was appended to a non-empty description
    int reported_errors = 0;        // saved count of the validators that keep one
    int fields_counted = 0;         // fields counted by the split of the current line
    std::vector<LineError> errors;  // the errors of the current line, as they were found

    Counters counters;
    long lines_read = 0;
    long lines_passed = 0;
    std::string declared_count;  // record count the control file declares for the type

    // Field k, or an empty text when k is outside 1..field_count.
    const std::string& field(int k) const {
        static const std::string empty;
        return k >= 1 && k < static_cast<int>(fields.size()) ? fields[static_cast<size_t>(k)]
                                                             : empty;
    }
    // Field k for rewriting; a field the type does not define gives a scratch text.
    std::string& field_ref(int k) {
        if (k >= 1 && k < static_cast<int>(fields.size())) return fields[static_cast<size_t>(k)];
        scratch.clear();
        return scratch;
    }
    std::string scratch;
};

}  // namespace corvela
