// Checks of an identification number against the document type in the field before it: the
// person's document (`valida_documento`) and the provider's document of the invoices file
// (`valida_documento_af`). Both trim the number and may replace it by its numeric value.
#pragma once

#include "rules/file_context.h"

namespace corvela {

void valida_documento(FileContext& fc, int idx);
void valida_documento_af(FileContext& fc, int idx);

}  // namespace corvela
