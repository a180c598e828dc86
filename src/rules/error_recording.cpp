#include "rules/error_recording.h"

#include "platform/text.h"

namespace corvela {

void clear_counters(FileContext& fc) {
    fc.counters.clear();
}

void count_error(FileContext& fc, Counter c) {
    fc.counters.add(c);
}

namespace {
LineError& add_error(FileContext& fc, int field, std::string_view check, MessageSlot slot) {
    const size_t at = fc.description.size();
    return fc.errors.emplace_back(LineError{field, check, slot, at, at});
}

// The error a text joined now belongs to: the last one waiting in `slot` (the last one for
// `None`) while it has no text yet or its text ends the description; otherwise the text is kept
// as an error of its own, of the same field and check.
LineError& owner_of_text(FileContext& fc, MessageSlot slot) {
    const size_t at = fc.description.size();
    for (auto it = fc.errors.rbegin(); it != fc.errors.rend(); ++it) {
        if (slot != MessageSlot::None && it->slot != slot) continue;
        if (it->begin == it->end || it->end == at) return *it;
        return add_error(fc, it->field, it->check, it->slot);
    }
    return add_error(fc, 0, {}, slot);
}

void append(FileContext& fc, MessageSlot slot, std::string_view separator, std::string_view text) {
    if (separator.empty() && text.empty()) return;
    LineError& error = owner_of_text(fc, slot);
    if (error.begin == error.end) error.begin = fc.description.size();
    fc.description.append(separator).append(text);
    error.end = fc.description.size();
}
}  // namespace

void line_error(FileContext& fc, int field, std::string_view check, MessageSlot slot) {
    fc.line_errors += 1;
    add_error(fc, field, check, slot);
}

void describe_field_error(FileContext& fc, int k, int n, std::string_view message) {
    const std::string& name = fc.defs ? fc.defs->name(k) : std::string();
    LineError& error = add_error(fc, k, {}, MessageSlot::None);
    if (!fc.description.empty()) {
        fc.description.append(", ").append(name).append(" ").append(message);
        fc.several_messages = 1;
    } else {
        fc.description.assign(name).append(message);
    }
    error.end = fc.description.size();
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

void comma_blank_join(FileContext& fc, std::string_view text, MessageSlot slot) {
    append(fc, slot, fc.description.empty() ? "" : ", ", text);
}

void record_error(FileContext& fc, std::string_view text, Counter c, int field) {
    line_error(fc, field);
    comma_blank_join(fc, text);
    count_error(fc, c);
}

void comma_join(FileContext& fc, std::string_view text, MessageSlot slot) {
    append(fc, slot, fc.description.empty() ? "" : ",", text);
}

void plain_join(FileContext& fc, std::string_view text, MessageSlot slot) {
    append(fc, slot, "", text);
}

std::string error_text(const FileContext& fc, const LineError& error) {
    std::string_view text =
        std::string_view(fc.description).substr(error.begin, error.end - error.begin);
    text = trim(text);
    if (!text.empty() && text.front() == ',') text = trim(text.substr(1));
    if (!text.empty()) return std::string(text);
    std::string name = fc.defs ? fc.defs->name(error.field) : std::string();
    if (name.empty() || error.check.empty()) return name + std::string(error.check);
    return name + ": " + std::string(error.check);
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
