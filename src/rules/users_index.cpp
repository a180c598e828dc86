#include "rules/users_index.h"

namespace corvela {

UsersIndex::UsersIndex() = default;
UsersIndex::~UsersIndex() = default;

void UsersIndex::use_table(Database& work) {
    query_ = work.prepare(
        "select unidad_medida, edad, sexo from USUARIO where tipo_identificacion = ? and "
        "numero_identificacion = ?");
}

const UserData* UsersIndex::find(std::string_view tipo, std::string_view numero) const {
    if (!query_) {
        if (has_last_ && tipo == last_tipo_ && numero == last_numero_) return last_;
        last_ = users_.find(FoldedKey(tipo, numero));
        last_tipo_.assign(tipo);
        last_numero_.assign(numero);
        has_last_ = true;
        return last_;
    }
    query_->reset();
    query_->bind(1, std::string(tipo));
    query_->bind(2, std::string(numero));
    if (!query_->step()) return nullptr;
    found_ = UserData{query_->text(0), query_->real(1), query_->text(2)};
    return &found_;
}

void UsersIndex::add(std::string_view tipo, std::string_view numero, UserData data) {
    if (query_) return;
    users_.insert(FoldedKey(tipo, numero), std::move(data));
    has_last_ = false;  // a document not found before may be found now
}

void UsersIndex::truncate(size_t count) {
    users_.truncate(count);
    has_last_ = false;  // the answer kept may be of a user forgotten now
}

}  // namespace corvela
