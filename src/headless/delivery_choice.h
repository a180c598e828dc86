// The saved delivery an operator names by text (on the command line, in a request of the web
// service): an IPS by name and a delivery as the report window lists it ("000001/ 1"), where
// "000001/1" names the same one.
#pragma once

#include <string>

#include "db/database.h"
#include "platform/result.h"
#include "reports/delivery_report.h"

namespace corvela {

struct ChosenDelivery {
    std::string ips_code;
    std::string delivery;  // the entry as listed
};

// The IPS code and the listed delivery; failed, saying why (with the deliveries of the IPS, one a
// line, when the delivery is not among them), when the IPS or the delivery is not listed.
Result<ChosenDelivery> choose_delivery(Database& work, const std::string& ips_name,
                                       const std::string& delivery_text, DeliveryKey key);

}  // namespace corvela
