#pragma once
// The names of endpoints and faults as orvane-station's options and the
// driver's `fault` command spell them ("playlist", "hang").

#include <string_view>

#include "station/station.h"

namespace orvane::station {

bool ParseEndpoint(std::string_view name, Endpoint& endpoint);
bool ParseFaultName(std::string_view name, Fault& fault);

}  // namespace orvane::station
