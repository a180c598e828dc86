// The validator of the grouped-description file (AD).
#pragma once

#include "validators/record_validator.h"

namespace corvela {

class GroupedServicesValidator : public RecordValidator {
  public:
    static constexpr std::string_view kType = "AD";
    GroupedServicesValidator() : RecordValidator(kType) {}
    const TypeSpec& type_spec() const override;
    void check_fields(RunContext& run, FileContext& fc) override;

  protected:
    // An empty unit value is stored as 0.
    void adjust_row(const RunContext& run, const FileContext& fc, Row& row) const override;
};

}  // namespace corvela
