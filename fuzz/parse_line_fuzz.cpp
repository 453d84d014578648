// Feeds one line to the tokeniser and the number conversion. The first byte picks the decimal
// separator, so both the point and the comma locales are explored.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "import/convert_to_float.h"
#include "import/sweep_file_loader.h"
#include "platform/component.h"
#include "platform/exceptions.h"
#include "platform/locale_settings.h"
#include "table/data_set.h"
#include "table/mem_table.h"
#include "table/sweep_table.h"

namespace {

struct Fixture {
  plotvik::TComponent owner{"Form1"};
  plotvik::TMemTable& table = plotvik::CreateSweepTable(owner);
  plotvik::TSweepFileLoader loader{table};
  Fixture() { table.Open(); }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static Fixture fixture;
  if (size == 0) return 0;
  plotvik::LocaleDecimalChar = (data[0] & 1) ? ',' : '.';
  std::string line(reinterpret_cast<const char*>(data) + 1, size - 1);

  long double value = 0;
  if (plotvik::TryConvertToFloat(line, value) && std::isnan(value)) std::abort();

  fixture.table.Append();
  try {
    fixture.loader.ParseLineIntoRecord(line);
    fixture.table.Post();
  } catch (const plotvik::EConvertError&) {
  } catch (const plotvik::EListError&) {
  } catch (const plotvik::EOverflow&) {
  }
  // Whatever failed, the table is still usable and a cancel settles the record.
  fixture.table.Cancel();
  if (fixture.table.State() != plotvik::DataSetState::StateBrowse) std::abort();
  if (fixture.table.RecordCount() > 100000) {
    fixture.table.Close();
    fixture.table.Open();
  }
  plotvik::LocaleDecimalChar = '.';
  return 0;
}
