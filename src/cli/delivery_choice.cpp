#include "cli/delivery_choice.h"

#include <cstdio>

#include "platform/text.h"

namespace corvela::cli {

namespace {
// The listed delivery an operator means: the entry itself, or the one with the same remission and
// the same radicación number ("000001/1" names "000001/ 1").
const std::string* find_delivery(const std::vector<std::string>& entries, const std::string& text) {
    for (const auto& e : entries)
        if (e == text) return &e;
    DeliveryParts wanted = split_delivery(text);
    if (text.find('/') == std::string::npos) return nullptr;
    for (const auto& e : entries) {
        DeliveryParts p = split_delivery(e);
        if (equals_nocase(p.remission, wanted.remission) &&
            leading_number_value(p.radicacion) == leading_number_value(wanted.radicacion) &&
            is_numeric(wanted.radicacion))
            return &e;
    }
    return nullptr;
}
}  // namespace

std::optional<ChosenDelivery> choose_delivery(Database& work, const std::string& ips_name,
                                              const std::string& delivery_text, DeliveryKey key) {
    auto rows = ips_rows(work);
    const IpsRow* ips = find_ips(rows, ips_name);
    if (!ips) {
        std::fprintf(stderr, "No existe la IPS \"%s\" entre las que tienen entregas guardadas.\n",
                     ips_name.c_str());
        return std::nullopt;
    }
    auto entries = delivery_entries(work, ips->code, key);
    const std::string* entry = find_delivery(entries, delivery_text);
    if (!entry) {
        std::fprintf(stderr, "La IPS \"%s\" no tiene la entrega \"%s\". Entregas:\n",
                     ips_name.c_str(), delivery_text.c_str());
        for (const auto& e : entries) std::fprintf(stderr, "  %s\n", e.c_str());
        return std::nullopt;
    }
    return ChosenDelivery{ips->code, *entry};
}

}  // namespace corvela::cli
