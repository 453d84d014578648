#pragma once

#include "platform/component.h"
#include "table/mem_table.h"

namespace plotvik {

// Builds the record table `mtData` as the main window declares it, owned by `owner`: nine
// persistent float fields Id, Val, height, R, jX, SWR, Ga, FB, Elevation (components mtDataId
// .. mtDataElevation, owned by `owner` and created after the table so they go first when it is
// destroyed), and the declared field definitions, which the first open replaces. Closed.
TMemTable& CreateSweepTable(TComponent& owner);

}  // namespace plotvik
