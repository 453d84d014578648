#include "table/sweep_table.h"

#include <string>

#include "table/fields.h"

namespace plotvik {

std::optional<TSweepField> SweepFieldByName(std::string_view name) {
  for (int i = 0; i < kSweepFieldCount; ++i) {
    if (SameFieldName(kSweepFieldNames[static_cast<std::size_t>(i)], name)) {
      return static_cast<TSweepField>(i);
    }
  }
  return std::nullopt;
}

TMemTable& CreateSweepTable(TComponent& owner) {
  // The declared definitions; the first open replaces them by those of the fields, which is
  // why RjX and GFB never become fields.
  static constexpr std::array<const char*, 5> kDeclaredDefs = {"height", "SWR", "RjX", "GFB",
                                                               "Elevation"};

  auto& table = owner.CreateComponent<TMemTable>("mtData");
  table.BeginLoading();
  for (const std::string_view name : kSweepFieldNames) {
    auto& field = owner.CreateComponent<TFloatField>("mtData" + std::string(name));
    field.SetFieldName(std::string(name));
    field.SetDataSet(&table);
  }
  for (const char* name : kDeclaredDefs) table.FieldDefs().Add(name, TFieldType::ftFloat);
  table.EndLoading();
  return table;
}

}  // namespace plotvik
