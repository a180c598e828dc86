#include "rules/error_recording.h"

namespace corvela {

void limpia_contadores(FileContext& fc) {
    fc.C.fill(0);
}

void cuenta_error(FileContext& fc, Counter c) {
    const int n = static_cast<int>(c);
    if (n >= 1 && n <= 30) fc.C[static_cast<size_t>(n)] += 1;
}

void registra_error(FileContext& fc, int k, int n, std::string_view message) {
    const std::string& dato = fc.defs ? fc.defs->dato(k) : std::string();
    if (!fc.descripcion.empty()) {
        fc.descripcion.append(", ").append(dato).append(" ").append(message);
        fc.varios_mensajes = 1;
    } else {
        fc.descripcion.assign(dato).append(message);
    }
    cuenta_error(fc, field_counter(k));
    if (k < 1 || k > n) return;
    // The marks are rebuilt to n characters: those before k, "1", those after k up to n.
    const std::string& m = fc.marcas;
    auto part = [&m](size_t from, size_t count) {
        return from < m.size() ? m.substr(from, count) : std::string();
    };
    size_t kk = static_cast<size_t>(k), nn = static_cast<size_t>(n);
    fc.marcas = part(0, kk - 1) + "1" + part(kk, nn - kk);
}

void field_error(FileContext& fc, int k, std::string_view message) {
    fc.errores_linea += 1;
    registra_error(fc, k, fc.num_campos, message);
}

void comma_blank_join(FileContext& fc, std::string_view text) {
    if (!fc.descripcion.empty()) fc.descripcion.append(", ");
    fc.descripcion.append(text);
}

void record_error(FileContext& fc, std::string_view text, Counter c) {
    fc.errores_linea += 1;
    comma_blank_join(fc, text);
    cuenta_error(fc, c);
}

void comma_join(FileContext& fc, std::string_view text) {
    if (!fc.descripcion.empty()) fc.descripcion.append(",");
    fc.descripcion.append(text);
}

void plain_join(FileContext& fc, std::string_view text) {
    fc.descripcion.append(text);
}

void fill_marcas(FileContext& fc, size_t length, char c) {
    fc.marcas.assign(length, c);
}

void graba_errores(Database& work, const ErroresKey& key, const FileContext& fc) {
    static const std::string sql = [] {
        std::string cols = "nro_radicacion, COD_EAPB, tipo, nro_remision";
        std::string marks = "?, ?, ?, ?";
        for (int i = 1; i <= 30; ++i) {
            cols += ", C" + std::to_string(i);
            marks += ", ?";
        }
        return "INSERT INTO ERRORES (" + cols + ") VALUES (" + marks + ")";
    }();
    Statement st = work.prepare(sql);
    st.bind(1, key.nro_radicacion);
    st.bind(2, key.COD_EAPB);
    st.bind(3, key.tipo);
    st.bind(4, key.nro_remision);
    for (int i = 1; i <= 30; ++i) st.bind(4 + i, fc.C[static_cast<size_t>(i)]);
    st.exec();
}

}  // namespace corvela
