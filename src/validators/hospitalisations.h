// The validator of the hospitalisations file (AH).
#pragma once

#include "validators/record_validator.h"

namespace corvela {

class HospitalisationsValidator : public RecordValidator {
  public:
    static constexpr std::string_view kType = "AH";
    HospitalisationsValidator() : RecordValidator(kType) {}
    void check_fields(RunContext& run, FileContext& fc) override;
};

}  // namespace corvela
