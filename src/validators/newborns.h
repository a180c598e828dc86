// The validator of the newborns file (AN).
#pragma once

#include "validators/record_validator.h"

namespace corvela {

class NewbornsValidator : public RecordValidator {
  public:
    static constexpr std::string_view kType = "AN";
    NewbornsValidator() : RecordValidator(kType) {}
    void check_fields(RunContext& run, FileContext& fc) override;
};

}  // namespace corvela
