// `Anacidos`: the newborns file (AN).
#pragma once

#include "validators/record_validator.h"

namespace corvela {

class Anacidos : public RecordValidator {
  public:
    static constexpr std::string_view kType = "AN";
    Anacidos() : RecordValidator(kType) {}
    void check_fields(RunContext& run, FileContext& fc) override;
};

}  // namespace corvela
