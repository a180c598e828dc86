#include "rules/documents.h"

#include <string>

#include "platform/text.h"
#include "rules/error_recording.h"

namespace corvela {

namespace {
const std::string_view kLetrasYDigitos = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";

bool in_set(char32_t c, std::string_view set) {
    if (c >= 'a' && c <= 'z') c -= 32;
    return c < 128 && set.find(static_cast<char>(c)) != std::string_view::npos;
}

// Characters of a UTF-8 text, decoded to code points.
std::u32string chars(std::string_view s) {
    std::u32string out;
    for (size_t i = 0; i < s.size();) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        size_t len = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 1;
        char32_t cp = len == 1 ? c : len == 2 ? (c & 0x1F) : len == 3 ? (c & 0x0F) : (c & 0x07);
        for (size_t j = 1; j < len && i + j < s.size(); ++j) cp = (cp << 6) | (s[i + j] & 0x3F);
        out += cp;
        i += len;
    }
    return out;
}

size_t count_in(const std::u32string& s, size_t from, size_t to, std::string_view set) {
    size_t n = 0;
    for (size_t i = from; i < to && i < s.size(); ++i)
        if (in_set(s[i], set)) ++n;
    return n;
}

// "C", the field number written with one leading blank, " Longitud doc."
std::string length_note_of(int idx) {
    return "C" + number_text(idx) + " Longitud doc.";
}

void length_note(FileContext& fc, int idx, std::string_view note) {
    line_error(fc, idx);
    count_error(fc, Counter::DocumentLength);
    plain_join(fc, note);
}

void record_non_numeric_id_card(FileContext& fc, const IdCardRule& rule) {
    record_error(fc, fc.description.empty() ? rule.alone : kNonNumericIdCard,
                 Counter::NonNumericIdCard, rule.tipo + 1);
}

// Age in years of the person of a users record (fields 9 and 10).
double age_in_years(const FileContext& fc) {
    double age = leading_number_value(fc.field(9));
    double unit = leading_number_value(fc.field(10));
    if (unit == 1) return age;
    if (unit == 2) return age / 12;
    if (unit == 3) return age / 360;
    return 0;
}
}  // namespace

void check_document(FileContext& fc, int idx) {
    std::string& numero = fc.field_ref(idx);
    numero = std::string(trim(numero));
    if (numero.empty()) return field_error(fc, idx, ": Campo sin contenido");
    const bool users = fc.type == "US";
    const double age = users ? age_in_years(fc) : 0;
    const std::string t = fc.field(idx - 1);
    const size_t len = char_length(numero);

    if (t == "CC" || t == "CE") {
        bool cc = t == "CC";
        if (cc && (len < 3 || len > 10))
            length_note(fc, idx, " La longitud del No. de documento no corresponde a una Cedula.");
        if (!cc && (len < 3 || len > 6))
            length_note(
                fc, idx,
                " La longitud del No. de documento no corresponde a una Cedula de extranjeria.");
        if (!is_numeric(numero)) return field_error(fc, idx, " Valor del campo debe ser numerico");
        double value = leading_number_value(numero);
        if (value == 0) return field_error(fc, idx, " No corresponde a un docuemento real");
        numero = value_text(value);
        if (!cc && value > 999999) field_error(fc, idx - 1, " Fuera de rango");
        if (cc && users && age < 18)
            field_error(fc, idx - 1, " Documento no corresponde a la edad");
        return;
    }
    if (t == "RC" || t == "TI" || t == "NU") {
        if (len <= 9 || len > 12) return length_note(fc, idx, length_note_of(idx));
        if (users && age > 19) field_error(fc, idx - 1, " Documento no corresponde a la edad");
        if (is_numeric(numero)) {
            if (leading_number_value(numero) == 0)
                field_error(fc, idx, " No debe tener valor cero");
            return;
        }
        auto cs = chars(numero);
        size_t head = std::min<size_t>(3, cs.size());
        if (count_in(cs, 0, head, kLetrasYDigitos) < head ||
            count_in(cs, 3, cs.size(), "0123456789") < (cs.size() > 3 ? cs.size() - 3 : 0))
            field_error(fc, idx, " Numero de documento no valido");
        return;
    }
    if (t == "AS" || t == "MS") {
        if (is_numeric(numero)) {
            double value = leading_number_value(numero);
            if (value == 0) return field_error(fc, idx, " No debe tener valor cero");
            numero = value_text(value);
            return;
        }
        if (!users) return;
        double unit = leading_number_value(fc.field(10));
        double age_value = leading_number_value(fc.field(9));
        bool newborn = (unit == 2 && age_value < 2) || (unit == 3 && age_value < 31);
        auto cs = chars(numero);
        if (t == "MS" && newborn) {
            if (cs.size() < 2 || cs[cs.size() - 2] != U'-')
                field_error(fc, idx, " Numero de documento no valido");
            if (cs.size() > 13) length_note(fc, idx, length_note_of(idx));
            return;
        }
        if (count_in(cs, 0, cs.size(), kLetrasYDigitos) < cs.size())
            field_error(fc, idx, " Numero de documento no valido");
    }
}

void check_provider_document(FileContext& fc, int idx) {
    std::string& numero = fc.field_ref(idx);
    numero = std::string(trim(numero));
    if (numero.empty()) return field_error(fc, idx, " Campo sin contenido");
    const std::string t = fc.field(idx - 1);
    const size_t len = char_length(numero);

    if (t == "CC" || t == "CE") {
        bool cc = t == "CC";
        const std::string cedula = " La longitud del No. de documento no corresponde a una Cedula.";
        if (cc && len < 3) length_note(fc, idx, cedula + "\"");
        if (cc && len > 10) length_note(fc, idx, cedula);
        if (!cc && (len < 2 || len > 7))
            length_note(
                fc, idx,
                " La longitud del No. de documento no corresponde a una Cedula de extranjeria.");
        if (!is_numeric(numero)) return field_error(fc, idx, " contenido debe ser numerico");
        double value = leading_number_value(numero);
        if (value == 0) return field_error(fc, idx, " No debe tener valor cero");
        numero = value_text(value);
        if (!cc && value > 999999) field_error(fc, idx - 1, " Fuera de rango");
        return;
    }
    if (t == "NI") {
        if (leading_number_value(numero) == 0)
            return field_error(fc, idx, " No debe tener valor cero");
        if (len < 8 || len > 15) length_note(fc, idx, length_note_of(idx));
        return;
    }
    if (t == "PA") {
        if (len < 5 || len > 16) return field_error(fc, idx, " Numero de documento no valido");
        double value = leading_number_value(numero);
        if (value == 0) return field_error(fc, idx, " No debe tener valor cero");
        numero = value_text(value);
    }
}

bool non_numeric_id_card(FileContext& fc, const IdCardRule& rule) {
    const std::string& numero = fc.field(rule.tipo + 1);
    std::string_view sin_blancos = ltrim(numero);
    const size_t length = char_length(sin_blancos);
    if (length <= 1 || fc.field(rule.tipo) != "CC" || is_numeric(numero)) return false;
    const bool hyphen = mid_chars(sin_blancos, length - 1, 1) == "-";
    bool recorded = true;
    if (length == 2 && !rule.two_characters.empty())
        record_error(fc, rule.two_characters, rule.two_characters_counter, rule.tipo + 1);
    else if (!hyphen || (length == 2 && rule.hyphen_beyond_two))
        record_non_numeric_id_card(fc, rule);
    else
        recorded = false;
    if (rule.zero_test && leading_number_value(numero) == 0) {
        record_non_numeric_id_card(fc, rule);
        recorded = true;
    }
    return recorded;
}

}  // namespace corvela
