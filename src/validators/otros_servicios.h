// `Aotrosservicios`: the other-services file (AT).
#pragma once

#include "validators/frame.h"

namespace corvela {

class Aotrosservicios : public RecordValidator {
  public:
    const TypeSpec& type_spec() const override;
    void check_fields(RunContext& run, FileContext& fc) override;
    void store(RunContext& run, FileContext& fc, RowWriter& row) override;
    // This file's failure message names the fields counted on the line, twice.
    std::string failure_text(const FileContext& fc) const override;
};

}  // namespace corvela
