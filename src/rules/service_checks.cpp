#include "rules/service_checks.h"

#include <cmath>

#include "platform/text.h"
#include "rules/error_recording.h"
#include "rules/field_checks.h"

namespace corvela {

namespace {

constexpr std::string_view kFechaSinContenido = " Campo sin contenido";
constexpr std::string_view kFechaCeros = " campo fecha sin contenido correcto";
constexpr std::string_view kFechaFueraDeTiempo = " Facha fuera de tiempo de presentación de RIPS";
constexpr std::string_view kFechaMayor = " Fecha mayor a la actual";
constexpr std::string_view kFechaSinFormato = " Fecha sin formato correcto";

constexpr std::string_view kNoRelacionaUsuario = "No relaciona usuario";
constexpr std::string_view kNoExisteEnCie10 = " no existe en CIE10";
constexpr std::string_view kSexoNoCorrespondeDx = "Sexo no corresponde al DX";
constexpr std::string_view kEdadNoCorrespondeDx = "Edad no corresponde al DX";
constexpr std::string_view kEdadNoCorrespondeProc = "Edad no corresponde al Procedimiento";
constexpr std::string_view kActividadNoDefinida = "Actividad no definidad en CUPS";
constexpr std::string_view kSexoNoCorrespondeProc = "Sexo no corresponde al procedimiento";

// The names of the checks whose message may never reach the description.
constexpr std::string_view kUsuarioNoRelacionado = "usuario no relacionado";
constexpr std::string_view kDxNoExiste = "diagnóstico no existe en CIE10";
constexpr std::string_view kSexoDx = "sexo no corresponde al diagnóstico";
constexpr std::string_view kEdadDx = "edad no corresponde al diagnóstico";
constexpr std::string_view kEdadProc = "edad no corresponde al procedimiento";

// Month and year of the remission date. A text that is not a date is read part by part, each
// part by its leading number.
void remission_month_year(const std::string& remission, int& month, int& year) {
    if (auto d = parse_date(trim(remission))) {
        month = d->month;
        year = d->year;
        return;
    }
    std::string_view s = remission;
    std::string_view parts[3];
    for (auto& part : parts) {
        size_t slash = s.find('/');
        part = s.substr(0, slash);
        s = slash == std::string_view::npos ? std::string_view() : s.substr(slash + 1);
    }
    month = static_cast<int>(leading_number_value(parts[1]));
    year = static_cast<int>(leading_number_value(parts[2]));
}

// The sex of a record fits the sex of a diagnosis or procedure: "A" takes either sex.
bool sex_fits(std::string_view ref_sexo, std::string_view user_sexo) {
    if (ref_sexo == "A") return user_sexo == "M" || user_sexo == "F";
    return (ref_sexo == "F" && user_sexo == "F") || (ref_sexo == "M" && user_sexo == "M");
}

void take_user(RunContext& run, const UserData& user) {
    run.slots.user_unit = user.unidad_medida;
    run.slots.user_age = user.edad;
    run.slots.user_sex = user.sexo;
}

// A newborn record is compared with the newborn itself: 0 days old, sex of field 9.
void take_newborn(RunContext& run, const FileContext& fc) {
    run.slots.user_unit = "3";
    run.slots.user_age = 0;
    run.slots.user_sex = fc.field(9);
}

// The age check shared by diagnoses and procedures. Limit codes carry the unit in the hundreds
// (4 years, 3 months, 2 days) and the value in the last two digits; the user's unit is coded
// 1 years, 2 months, 3 days. Returns true when the age is out of the limits.
bool age_out_of_limits(const RunContext& run, std::string_view inf, std::string_view sup) {
    double lower = 0, upper = 0, unit = 0;
    double L = leading_number_value(inf);
    if (L > 0) {
        unit = std::floor(L / 100);
        lower = L - 100 * unit;
    }
    double U = leading_number_value(sup);
    if (U == 599 || U == 0) {
        upper = 130;
    } else {
        unit = std::floor(U / 100);
        upper = U - 100 * unit;
    }
    if (unit == 0) return false;
    double user_unit = leading_number_value(run.slots.user_unit);
    double age = run.slots.user_age;
    static constexpr double pairs[3][2] = {{4, 1}, {3, 2}, {2, 3}};
    for (const auto& pair : pairs) {
        if (unit == pair[0] && user_unit == pair[1]) return age < lower || age > upper;
    }
    return false;
}

// The counter of an age that does not fit the diagnosis, by file type.
Counter diagnosis_age_counter(std::string_view type) {
    if (type == "AC" || type == "AH") return field_counter(10);
    if (type == "AP") return field_counter(11);
    if (type == "AU") return field_counter(8);
    if (type == "AN") return field_counter(12);
    return Counter::None;
}

}  // namespace

void service_date_from_remission(RunContext& run, bool two_digit_month) {
    int month = 0, year = 0;
    remission_month_year(run.delivery.header.remission_date, month, year);
    std::string m = std::to_string(month);
    if (two_digit_month && month < 10) m = "0" + m;
    run.service_date = "01/" + m + "/" + std::to_string(year);
}

void check_date(RunContext& run, FileContext& fc, int k) {
    const std::string& v = fc.field(k);
    std::string_view sin_blancos = ltrim(v);
    std::string_view message;
    if (sin_blancos.empty()) {
        message = kFechaSinContenido;
    } else if (v == "00/00/0000") {
        message = kFechaCeros;
    } else if (auto d = char_length(sin_blancos) == 10 ? parse_date(sin_blancos) : std::nullopt) {
        Date today = run.clock.today();
        if (d->year < today.year - 5) {
            message = kFechaFueraDeTiempo;
        } else if (*d > today) {
            message = kFechaMayor;
        } else {
            run.service_date = v;
            return;
        }
    } else {
        message = kFechaSinFormato;
    }
    field_error(fc, k, message);
    service_date_from_remission(run, false);
}

bool user_exists(RunContext& run, std::string_view tipo, std::string_view numero) {
    run.slots.user_message.clear();
    return run.users.find(tipo, numero) != nullptr;
}

void relate_user(RunContext& run, FileContext& fc, std::string_view tipo, std::string_view numero) {
    run.slots.user_message.clear();
    if (const UserData* user = run.users.find(tipo, numero)) {
        if (fc.type == "AN")
            take_newborn(run, fc);
        else
            take_user(run, *user);
        return;
    }
    line_error(fc, 0, kUsuarioNoRelacionado, MessageSlot::User);
    run.slots.user_message = kNoRelacionaUsuario;
    count_error(fc, Counter::NoUser);
    if (fc.type == "AM") service_date_from_remission(run, true);
}

void take_user_data(RunContext& run, std::string_view tipo, std::string_view numero) {
    run.slots.user_message.clear();
    if (const UserData* user = run.users.find(tipo, numero)) take_user(run, *user);
}

void check_diagnosis(RunContext& run, FileContext& fc, std::string_view codigo, int k) {
    run.slots.diagnosis_message.clear();
    if (const Diagnosis* dx = run.references().cie10(codigo)) {
        run.dx_sex = dx->sexo;
        run.dx_min_age = dx->lim_inf;
        run.dx_max_age = dx->lim_sup;
        return;
    }
    line_error(fc, k, kDxNoExiste, MessageSlot::Diagnosis);
    run.slots.diagnosis_message.assign(codigo).append(kNoExisteEnCie10);
}

void check_diagnosis_sex(RunContext& run, FileContext& fc, int k) {
    if (fc.type == "AN") take_newborn(run, fc);
    if (sex_fits(run.dx_sex, run.slots.user_sex)) {
        run.slots.sex_message.clear();
        check_diagnosis_age(run, fc, k);
        return;
    }
    line_error(fc, k, kSexoDx, MessageSlot::Sex);
    run.slots.sex_message = kSexoNoCorrespondeDx;
    if (fc.type == "AH")
        count_error(fc, k == 10   ? Counter::DiagnosisSex
                        : k == 11 ? Counter::DischargeDiagnosisSex
                                  : Counter::None);
    else
        count_error(fc, Counter::DiagnosisSex);
}

void check_diagnosis_age(RunContext& run, FileContext& fc, int k) {
    run.slots.age_message.clear();
    if (!age_out_of_limits(run, run.dx_min_age, run.dx_max_age)) return;
    line_error(fc, k, kEdadDx, MessageSlot::Age);
    run.slots.age_message = kEdadNoCorrespondeDx;
    count_error(fc, diagnosis_age_counter(fc.type));
}

void check_procedure(RunContext& run, FileContext& fc, int k, std::string_view archivo,
                     std::string_view codigo, std::string_view tipo, std::string_view numero) {
    run.slots.procedure_message.clear();
    const Procedure* px = run.references().cups(codigo, to_upper(left_chars(archivo, 2)));
    if (!px) {
        run.slots.procedure_message = kActividadNoDefinida;
        field_error(fc, k, run.slots.procedure_message);
        return;
    }
    take_user_data(run, tipo, numero);
    run.dx_sex = px->sexo;
    if (sex_fits(run.dx_sex, run.slots.user_sex)) {
        check_procedure_age(run, fc, px->edad_ini, px->edad_fin, k);
        return;
    }
    run.slots.procedure_message = kSexoNoCorrespondeProc;
    field_error(fc, k, run.slots.procedure_message);
}

void check_procedure_age(RunContext& run, FileContext& fc, std::string_view ini,
                         std::string_view fin, int k) {
    run.slots.age_message.clear();
    if (!age_out_of_limits(run, ini, fin)) return;
    line_error(fc, k, kEdadProc, MessageSlot::Age);
    run.slots.age_message = kEdadNoCorrespondeProc;
    count_error(fc, field_counter(k));
}

void check_date_field(RunContext& run, FileContext& fc, int k) {
    if (fails_length(run, fc, k))
        service_date_from_remission(run, false);
    else
        check_date(run, fc, k);
}

}  // namespace corvela
