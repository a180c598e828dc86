// `Aurgencias`: the emergencies file (AU).
#pragma once

#include "validators/frame.h"

namespace corvela {

class Aurgencias : public RecordValidator {
  public:
    const TypeSpec& type_spec() const override;
    void check_fields(RunContext& run, FileContext& fc) override;
    void store(RunContext& run, FileContext& fc, RowWriter& row) override;
};

}  // namespace corvela
