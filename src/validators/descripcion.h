// `ADescripcion`: the grouped-description file (AD).
#pragma once

#include "validators/frame.h"

namespace corvela {

class ADescripcion : public RecordValidator {
  public:
    const TypeSpec& type_spec() const override;
    void check_fields(RunContext& run, FileContext& fc) override;
    void store(RunContext& run, FileContext& fc, RowWriter& row) override;
};

}  // namespace corvela
