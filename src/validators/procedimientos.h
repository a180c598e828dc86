// `AProcedimientos`: the procedures file (AP).
#pragma once

#include "validators/record_validator.h"

namespace corvela {

class AProcedimientos : public RecordValidator {
  public:
    static constexpr std::string_view kType = "AP";
    AProcedimientos() : RecordValidator(kType) {}
    void check_fields(RunContext& run, FileContext& fc) override;
};

}  // namespace corvela
