// The validator of the emergencies file (AU).
#pragma once

#include "validators/record_validator.h"

namespace corvela {

class EmergenciesValidator : public RecordValidator {
  public:
    static constexpr std::string_view kType = "AU";
    EmergenciesValidator() : RecordValidator(kType) {}
    const TypeSpec& type_spec() const override;
    void check_fields(RunContext& run, FileContext& fc) override;
};

}  // namespace corvela
