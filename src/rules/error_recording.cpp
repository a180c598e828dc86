#include "rules/error_recording.h"

namespace corvela {

void clear_counters(FileContext& fc) {
    fc.counters.clear();
}

void count_error(FileContext& fc, Counter c) {
    fc.counters.add(c);
}

void describe_field_error(FileContext& fc, int k, int n, std::string_view message) {
    const std::string& name = fc.defs ? fc.defs->name(k) : std::string();
    if (!fc.description.empty()) {
        fc.description.append(", ").append(name).append(" ").append(message);
        fc.several_messages = 1;
    } else {
        fc.description.assign(name).append(message);
    }
    count_error(fc, field_counter(k));
    if (k < 1 || k > n) return;
    // The marks are rebuilt to n characters: those before k, "1", those after k up to n.
    const std::string& m = fc.marks;
    auto part = [&m](size_t from, size_t count) {
        return from < m.size() ? m.substr(from, count) : std::string();
    };
    size_t kk = static_cast<size_t>(k), nn = static_cast<size_t>(n);
    fc.marks = part(0, kk - 1) + "1" + part(kk, nn - kk);
}

void field_error(FileContext& fc, int k, std::string_view message) {
    fc.line_errors += 1;
    describe_field_error(fc, k, fc.field_count, message);
}

void comma_blank_join(FileContext& fc, std::string_view text) {
    if (!fc.description.empty()) fc.description.append(", ");
    fc.description.append(text);
}

void record_error(FileContext& fc, std::string_view text, Counter c) {
    fc.line_errors += 1;
    comma_blank_join(fc, text);
    count_error(fc, c);
}

void comma_join(FileContext& fc, std::string_view text) {
    if (!fc.description.empty()) fc.description.append(",");
    fc.description.append(text);
}

void plain_join(FileContext& fc, std::string_view text) {
    fc.description.append(text);
}

void fill_marks(FileContext& fc, size_t length, char c) {
    fc.marks.assign(length, c);
}

void write_error_row(Database& work, const ErrorRowKey& key, const FileContext& fc) {
    static const std::string sql = [] {
        std::string cols = "nro_radicacion, COD_EAPB, tipo, nro_remision";
        std::string marks = "?, ?, ?, ?";
        for (int i = 1; i <= Counters::kCount; ++i) {
            cols += ", C" + std::to_string(i);
            marks += ", ?";
        }
        return "INSERT INTO ERRORES (" + cols + ") VALUES (" + marks + ")";
    }();
    Statement st = work.prepare(sql);
    st.bind(1, key.radicacion);
    st.bind(2, key.ips_code);
    st.bind(3, key.file_type);
    st.bind(4, key.remission);
    for (int code = 1; code <= Counters::kCount; ++code)
        st.bind(4 + code, fc.counters[counter_of_code(code)]);
    st.exec();
}

}  // namespace corvela
