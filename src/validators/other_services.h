// The validator of the other-services file (AT).
#pragma once

#include "validators/record_validator.h"

namespace corvela {

class OtherServicesValidator : public RecordValidator {
  public:
    static constexpr std::string_view kType = "AT";
    OtherServicesValidator() : RecordValidator(kType) {}
    void check_fields(RunContext& run, FileContext& fc) override;
    // This file's failure message names the fields counted on the line, twice.
    std::string failure_text(const FileContext& fc) const override;
};

}  // namespace corvela
