// The validator of the consultations file (AC).
#pragma once

#include "validators/record_validator.h"

namespace corvela {

class ConsultationsValidator : public RecordValidator {
  public:
    static constexpr std::string_view kType = "AC";
    ConsultationsValidator() : RecordValidator(kType) {}
    const TypeSpec& type_spec() const override;
    void check_fields(RunContext& run, FileContext& fc) override;
};

}  // namespace corvela
