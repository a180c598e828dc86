// The users stored in `usuario` during a run, found by document type and number with letter
// case ignored, as the database compares them. Kept in step with the table in a flat index, so
// that no record needs a query; or, when told to, read from the table at every lookup.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "db/database.h"
#include "rules/folded_index.h"

namespace corvela {

struct UserData {
    std::string unidad_medida;
    double edad = 0;
    std::string sexo;
};

class UsersIndex {
  public:
    UsersIndex();
    ~UsersIndex();
    // From now on every lookup reads `usuario` of `work`; `add` keeps nothing.
    void use_table(Database& work);

    // The user, or nullptr; the pointer is valid until the next call.
    const UserData* find(std::string_view tipo, std::string_view numero) const;
    void add(std::string_view tipo, std::string_view numero, UserData data);
    // The users added so far, and a way back to the first `count` of them (a file read again
    // after its storage failed).
    size_t size() const { return users_.size(); }
    void truncate(size_t count);

  private:
    FoldedIndex<UserData> users_;
    // A record looks its user up several times; the last answer is kept for the same document.
    mutable std::string last_tipo_, last_numero_;
    mutable const UserData* last_ = nullptr;
    mutable bool has_last_ = false;
    mutable std::optional<Statement> query_;
    mutable UserData found_;
};

}  // namespace corvela
