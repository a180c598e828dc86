// The checks of service records: dates (`check_date`), the relation of a record to a user of
// the delivery, diagnoses against CIE10 and procedures against CUPS, with the user's sex and age.
#pragma once

#include <string>
#include <string_view>

#include "rules/file_context.h"
#include "rules/run_context.h"

namespace corvela {

// Checks field k as a date and sets `service_date` (the first day of the remission month
// after a failure).
void check_date(RunContext& run, FileContext& fc, int k);
// `service_date` = "01/" + remission month + "/" + remission year; the month with two digits
// when `two_digit_month`.
void service_date_from_remission(RunContext& run, bool two_digit_month);
// A date field: its length first (on failure the service date falls back to the remission
// month), else `check_date`.
void check_date_field(RunContext& run, FileContext& fc, int k);

bool user_exists(RunContext& run, std::string_view tipo, std::string_view numero);
void relate_user(RunContext& run, FileContext& fc, std::string_view tipo, std::string_view numero);
void take_user_data(RunContext& run, std::string_view tipo, std::string_view numero);

// Looks up the code of diagnosis field k (as the caller normalised it) in CIE10.
void check_diagnosis(RunContext& run, FileContext& fc, std::string_view codigo, int k);
void check_diagnosis_sex(RunContext& run, FileContext& fc, int k);
void check_diagnosis_age(RunContext& run, FileContext& fc, int k);
void check_procedure(RunContext& run, FileContext& fc, int k, std::string_view archivo,
                     std::string_view codigo, std::string_view tipo, std::string_view numero);
void check_procedure_age(RunContext& run, FileContext& fc, std::string_view ini,
                         std::string_view fin, int k);

}  // namespace corvela
