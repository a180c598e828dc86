// The validator of the medications file (AM).
#pragma once

#include "validators/record_validator.h"

namespace corvela {

class MedicationsValidator : public RecordValidator {
  public:
    static constexpr std::string_view kType = "AM";
    MedicationsValidator() : RecordValidator(kType) {}
    void check_fields(RunContext& run, FileContext& fc) override;

  protected:
    // An empty descriptive text is stored as a single blank; the service date is the run's.
    void adjust_row(const RunContext& run, const FileContext& fc, Row& row) const override;
};

}  // namespace corvela
