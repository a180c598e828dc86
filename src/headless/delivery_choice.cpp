#include "headless/delivery_choice.h"

#include "platform/text.h"

namespace corvela {

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

Result<ChosenDelivery> choose_delivery(Database& work, const std::string& ips_name,
                                       const std::string& delivery_text, DeliveryKey key) {
    auto rows = ips_rows(work);
    const IpsRow* ips = find_ips(rows, ips_name);
    if (!ips)
        return Result<ChosenDelivery>::failed("No existe la IPS \"" + ips_name +
                                              "\" entre las que tienen entregas guardadas.");
    auto entries = delivery_entries(work, ips->code, key);
    const std::string* entry = find_delivery(entries, delivery_text);
    if (!entry) {
        std::string why =
            "La IPS \"" + ips_name + "\" no tiene la entrega \"" + delivery_text + "\". Entregas:";
        for (const auto& e : entries) why += "\n  " + e;
        return Result<ChosenDelivery>::failed(why);
    }
    return Result<ChosenDelivery>::done({ips->code, *entry});
}

}  // namespace corvela
