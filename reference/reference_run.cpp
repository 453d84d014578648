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
  // The records are read from the store, not by moving the run's cursor: a move would post or
  // cancel a record the run is still inserting and tell its charts to refill. Both are sweep
  // tables, so a field's index names the same field in either. Each post refills the
  // reference's charts by the one new record only.
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
