#include "reference/reference_run.h"

#include <optional>

#include "table/field.h"
#include "table/mem_table.h"
#include "table/stored_records.h"
#include "table/sweep_table.h"

namespace plotvik {

TReferenceRun::TReferenceRun()
    : owner_("Reference"), table_(CreateSweepTable(owner_)), loader_(table_) {}

TReferenceRun::~TReferenceRun() = default;

bool TReferenceRun::Present() const {
  return table_.Active();
}

void TReferenceRun::Keep(const TCustomMemTable& run) {
  table_.Close();
  table_.Open();
  if (!run.Active()) return;
  // Read from the store: moving the run's cursor would post or cancel a record it is still
  // inserting. Both are sweep tables, so a field's index names the same field in either.
  const TStoredRecords stored(run);
  for (int r = 0; r < stored.Count(); ++r) {
    table_.Append();
    for (int i = 0; i < table_.FieldCount(); ++i) {
      if (const std::optional<double> value = stored.Value(r, i))
        table_.Fields(i).SetAsFloat(*value);
    }
    table_.Post();
  }
}

void TReferenceRun::Load(TSweepFileUi& ui) {
  loader_.actOpenFileExecute(ui);
}

}  // namespace plotvik
