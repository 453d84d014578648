#pragma once

#include "import/sweep_file_loader.h"
#include "platform/component.h"

namespace plotvik {

class TCustomMemTable;
class TMemTable;

// A run kept beside the current one for comparison: a copy of its stored records in a sweep
// table of its own, closed while there is no reference. Nothing of it is ever written.
class TReferenceRun {
 public:
  TReferenceRun();
  ~TReferenceRun();
  TReferenceRun(const TReferenceRun&) = delete;
  TReferenceRun& operator=(const TReferenceRun&) = delete;

  TMemTable& Table() const { return table_; }
  bool Present() const;

  // Replaces the reference by a copy of the records `run` has stored, in their order. A record
  // still being inserted (the line a load stopped at) is no part of the run and is not copied;
  // `run` is only read, its cursor and state stay.
  void Keep(const TCustomMemTable& run);

  // Loads the file `ui` names into the reference as File > Open loads the current run. A file
  // that cannot be opened raises before anything changes; a bad line warns through `ui` and
  // keeps the records before it.
  void Load(TSweepFileUi& ui);

 private:
  TComponent owner_;
  TMemTable& table_;
  TSweepFileLoader loader_;
};

}  // namespace plotvik
