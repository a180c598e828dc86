// `Ausuarios`: the users file (US).
#pragma once

#include "validators/frame.h"

namespace corvela {

class Ausuarios : public RecordValidator {
  public:
    const TypeSpec& type_spec() const override;
    void check_fields(RunContext& run, FileContext& fc) override;
    void store(RunContext& run, FileContext& fc, RowWriter& row) override;

  private:
    void check_field_4(RunContext& run, FileContext& fc);
    void cross_field_rules(RunContext& run, FileContext& fc);
};

}  // namespace corvela
