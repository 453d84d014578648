#include "reference/reference_run.h"

#include <cstring>

#include "table/field.h"
#include "table/mem_table.h"
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
  // cancel a record the run is still inserting and tell its charts to refill.
  const TRecordLayout& layout = run.Store().Layout();
  // Both are sweep tables: field numbers name the same fields in either. Each post refills the
  // reference's charts by the one new record only.
  for (const std::byte* record : run.CurrentIndex().entries) {
    table_.Append();
    for (TField* field : table_.Fields()) {
      const auto slotIndex = static_cast<size_t>(field->FieldNo() - 1);
      if (slotIndex >= layout.fieldOffsets.size() ||
          layout.fieldSizes[slotIndex] != sizeof(double)) {
        continue;
      }
      const std::byte* slot = record + layout.fieldOffsets[slotIndex];
      if (slot[0] == std::byte{0}) continue;
      double value = 0;
      std::memcpy(&value, slot + 1, sizeof value);
      field->SetAsFloat(value);
    }
    table_.Post();
  }
}

void TReferenceRun::Load(TSweepFileUi& ui) {
  loader_.actOpenFileExecute(ui);
}

}  // namespace plotvik
