#include "validators/users.h"

#include "platform/text.h"
#include "rules/documents.h"
#include "rules/error_recording.h"
#include "rules/field_checks.h"

namespace corvela {

const TypeSpec& UsersValidator::type_spec() const {
    static const TypeSpec s{.structure_text = " Error de Estructura del registro en campos",
                            .record_separator = "  / linea ",
                            .count_separator = " / linea "};
    return s;
}

namespace {
// The digit of a user-type letter, or the value unchanged.
std::string user_type_digit(const std::string& v) {
    if (v == "C") return "1";
    if (v == "S") return "2";
    if (v == "V") return "3";
    if (v == "P") return "4";
    if (v == "O") return "5";
    return v;
}

// Replaces, in the kept line, the first occurrence of "," + letter + "," (letter case ignored)
// by the same with the digit, so that the output files show the digit.
void translate_in_line(std::string& line, const std::string& letter, const std::string& digit) {
    std::string needle = fold_case("," + letter + ",");
    std::string folded = fold_case(line);
    size_t at = folded.find(needle);
    if (at != std::string::npos) line.replace(at + 1, letter.size(), digit);
}
}  // namespace

void UsersValidator::check_field_4(RunContext& run, FileContext& fc) {
    if (fails_exact_length(run, fc, 4) || fails_empty(fc, 4)) return;
    check_user_type(run, fc, fc.field(4), 4);
    std::string as_read = fc.field(4);
    std::string digit = user_type_digit(as_read);
    if (digit != as_read) {
        fc.field_ref(4) = digit;
        translate_in_line(fc.line, as_read, digit);
    }
}

void UsersValidator::check_fields(RunContext& run, FileContext& fc) {
    if (!fails_length(run, fc, 1) && !fails_empty(fc, 1))
        check_document_type(run, fc, to_upper(fc.field(1)), 1);

    if (!fails_length(run, fc, 2)) check_document(fc, 2);

    if (!fails_length(run, fc, 3) && ltrim(fc.field(3)).empty() && fc.field(4) != "4") {
        line_error(fc, 3);
        plain_join(fc, " C3 no puede ser blanco o vacio");
        count_error(fc, field_counter(3));
    }

    check_field_4(run, fc);

    for (int k = 5; k <= 8; ++k) fails_length(run, fc, k);

    if (!fails_length(run, fc, 9) && !fails_empty(fc, 9) && leading_number_value(fc.field(9)) < 0)
        field_error(fc, 9, ": Edad con valor negativo");

    if (!fails_exact_length(run, fc, 10) && !fails_empty(fc, 10))
        check_one_to_three(fc, fc.field(10), 10);

    fc.field_ref(11) = to_upper(fc.field(11));
    if (!fails_exact_length(run, fc, 11) && fc.field(11) != "M" && fc.field(11) != "F")
        field_error(fc, 11, ": Contenido no cumple con los valores definidos");

    if (!fails_exact_length(run, fc, 12)) fails_empty(fc, 12);
    if (!fails_exact_length(run, fc, 13)) fails_empty(fc, 13);

    take_field_definition(run, fc, 14);
    if (fc.field(14).empty() || fc.field(14) == "NULL") field_error(fc, 14, kEmptyField);

    cross_field_rules(run, fc);
}

void UsersValidator::cross_field_rules(RunContext& run, FileContext& fc) {
    // The number of a users record is field 2; its value 0 is an error of its own.
    static constexpr IdCardRule kCedula{.tipo = 1, .zero_test = true};
    non_numeric_id_card(fc, kCedula);

    double unit = leading_number_value(fc.field(10));
    double age = leading_number_value(fc.field(9));
    const char* unit_text = "Unidad de medida de la edad no concuerda";
    if (unit == 1 && age > 120) record_error(fc, unit_text, Counter::AgeUnit);
    if (unit == 2 && age > 12) record_error(fc, unit_text, Counter::AgeUnit);
    if (unit == 3 && age > 31) record_error(fc, unit_text, Counter::AgeUnit);

    if (char_length(ltrim(fc.field(12))) == 2 && char_length(ltrim(fc.field(13))) == 3 &&
        !run.references().has_municipality(fc.field(12), fc.field(13)))
        record_error(fc, "Código del departamento y Código de municipio no concuerda",
                     Counter::Municipality);
}

void UsersValidator::store(RunContext& run, FileContext& fc, RowSink& rows) {
    if (run.users.find(fc.field(1), fc.field(2))) return;
    RecordValidator::store(run, fc, rows);
    run.users.add(fc.field(1), fc.field(2),
                  UserData{fc.field(10), leading_number_value(fc.field(9)), fc.field(11)});
}

}  // namespace corvela
