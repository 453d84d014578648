#pragma once

#include <string>

namespace plotvik {

class TCustomMemTable;

// The records of `table` as tab-separated text: a header line of the field names, then one line
// per stored record in the table's order, each number the shortest text that reads back to the
// same double with `decimalSeparator` as its point, a null field left empty. Lines end in '\n'.
// The records are read where they are stored: the table's cursor, state and links are left
// alone, so no chart following the table is told anything. A closed table gives the header only.
std::string RecordsAsText(TCustomMemTable& table, char decimalSeparator);

}  // namespace plotvik
