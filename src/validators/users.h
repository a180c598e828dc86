// The validator of the users file (US).
#pragma once

#include "validators/record_validator.h"

namespace corvela {

class UsersValidator : public RecordValidator {
  public:
    static constexpr std::string_view kType = "US";
    UsersValidator() : RecordValidator(kType) {}
    const TypeSpec& type_spec() const override;
    void check_fields(RunContext& run, FileContext& fc) override;
    // A user repeated in the delivery passes but is stored once; a stored user joins the index.
    void store(RunContext& run, FileContext& fc, RowSink& rows) override;

  private:
    void check_field_4(RunContext& run, FileContext& fc);
    void cross_field_rules(RunContext& run, FileContext& fc);
};

}  // namespace corvela
