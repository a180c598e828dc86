// The reference tables a run consults, read once per run: the code tables, the municipalities,
// CIE10 and CUPS. Keys are compared as the database compares text (letter case ignored), so the
// answers are those of the lookups on the tables themselves; each table is one flat index.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "db/database.h"
#include "rules/folded_index.h"

namespace corvela {

// The database's case folding of text (ASCII letters only).
std::string fold_case(std::string_view s);

enum class CodeTable {
    DocumentType,
    ProviderDocumentType,
    UserType,
    ConsultationPurpose,
    ExternalCause,
    ServiceConcept
};

struct Diagnosis {
    std::string sexo, lim_inf, lim_sup;
};
struct Procedure {
    std::string sexo, edad_ini, edad_fin;
};

class ReferenceCache {
  public:
    // `uncached`: every lookup queries the reference database instead of the rows read once.
    ReferenceCache(Database& ref, bool uncached = false);
    ~ReferenceCache();

    bool has_code(CodeTable table, std::string_view value) const;
    bool has_municipality(std::string_view depto, std::string_view muni) const;
    const Diagnosis* cie10(std::string_view codigo) const;
    const Procedure* cups(std::string_view codigo, std::string_view archivo) const;

  private:
    FoldedIndex<bool> codes_[6];
    FoldedIndex<bool> municipalities_;
    FoldedIndex<Diagnosis> cie10_;
    FoldedIndex<Procedure> cups_;
    // The lookups on the database itself, when uncached.
    struct Queries;
    std::unique_ptr<Queries> queries_;
    mutable Diagnosis found_dx_;
    mutable Procedure found_px_;
};

}  // namespace corvela
