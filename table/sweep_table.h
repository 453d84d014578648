#pragma once

#include <array>
#include <optional>
#include <string_view>

#include "platform/component.h"
#include "table/mem_table.h"

namespace plotvik {

// The nine fields of a sweep record by position, as the loader fills them, and their names, as
// the table declares them and the charts and the analysis look them up.
enum TSweepField { sfId, sfVal, sfHeight, sfR, sfJX, sfSWR, sfGa, sfFB, sfElevation };
inline constexpr int kSweepFieldCount = 9;
inline constexpr std::array<std::string_view, kSweepFieldCount> kSweepFieldNames = {
    "Id", "Val", "height", "R", "jX", "SWR", "Ga", "FB", "Elevation"};

// The sweep field called `name`, compared as the table compares field names (ignoring case);
// none for a name that is no sweep field.
std::optional<TSweepField> SweepFieldByName(std::string_view name);

// Builds the record table `mtData` as the main window declares it, owned by `owner`: nine
// persistent float fields named as above (components mtDataId .. mtDataElevation, owned by
// `owner` and created after the table so they go first when it is destroyed), and the declared
// field definitions, which the first open replaces. Closed.
TMemTable& CreateSweepTable(TComponent& owner);

}  // namespace plotvik
