#include "table/sweep_table.h"

#include <array>
#include <string>

namespace plotvik {

TMemTable& CreateSweepTable(TComponent& owner) {
  static constexpr std::array<const char*, 9> kFieldNames = {
      "Id", "Val", "height", "R", "jX", "SWR", "Ga", "FB", "Elevation"};
  // The declared definitions; the first open replaces them by those of the fields, which is
  // why RjX and GFB never become fields.
  static constexpr std::array<const char*, 5> kDeclaredDefs = {"height", "SWR", "RjX", "GFB",
                                                               "Elevation"};

  auto& table = owner.CreateComponent<TMemTable>("mtData");
  table.BeginLoading();
  for (const char* name : kFieldNames) {
    auto& field = owner.CreateComponent<TFloatField>(std::string("mtData") + name);
    field.SetFieldName(name);
    field.SetDataSet(&table);
  }
  for (const char* name : kDeclaredDefs) table.FieldDefs().Add(name, TFieldType::ftFloat);
  table.EndLoading();
  return table;
}

}  // namespace plotvik
