// `ATransacciones`: the transactions (invoices) file (AF).
#pragma once

#include "validators/record_validator.h"

namespace corvela {

class ATransacciones : public RecordValidator {
  public:
    static constexpr std::string_view kType = "AF";
    ATransacciones() : RecordValidator(kType) {}
    const TypeSpec& type_spec() const override;
    void check_fields(RunContext& run, FileContext& fc) override;
};

}  // namespace corvela
