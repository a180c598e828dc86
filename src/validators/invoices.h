// The validator of the transactions (invoices) file (AF).
#pragma once

#include "validators/record_validator.h"

namespace corvela {

class InvoicesValidator : public RecordValidator {
  public:
    static constexpr std::string_view kType = "AF";
    InvoicesValidator() : RecordValidator(kType) {}
    const TypeSpec& type_spec() const override;
    void check_fields(RunContext& run, FileContext& fc) override;
};

}  // namespace corvela
