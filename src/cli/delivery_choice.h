// The saved delivery an operator names on the command line: an IPS by name and a delivery as the
// report window lists it ("000001/ 1"), where "000001/1" names the same one.
#pragma once

#include <string>

#include "db/database.h"
#include "reports/delivery_report.h"

namespace corvela::cli {

struct ChosenDelivery {
    std::string ips_code;
    std::string delivery;  // the entry as listed
};

// The IPS code and the listed delivery; nullopt (after saying why on standard error) when the
// IPS or the delivery is not listed.
std::optional<ChosenDelivery> choose_delivery(Database& work, const std::string& ips_name,
                                              const std::string& delivery_text, DeliveryKey key);

}  // namespace corvela::cli
