// The validator of the procedures file (AP).
#pragma once

#include "validators/record_validator.h"

namespace corvela {

class ProceduresValidator : public RecordValidator {
  public:
    static constexpr std::string_view kType = "AP";
    ProceduresValidator() : RecordValidator(kType) {}
    void check_fields(RunContext& run, FileContext& fc) override;
};

}  // namespace corvela
