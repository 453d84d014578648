#include "app/copy_commands.h"

#include "app/chart_pages.h"
#include "app/form1.h"
#include "chart/db_chart.h"
#include "export/record_text.h"
#include "platform/gui/clipboard.h"
#include "platform/gui/page_control.h"
#include "platform/locale_settings.h"
#include "table/mem_table.h"

namespace plotvik {

void CopyCurrentChart(TForm1& form) {
  const int page = form.PC.ActivePageIndex();
  if (page < 0 || page >= kChartPageCount) return;
  CopyPanelToClipboard(PageChart(form, page));
}

void CopyRecords(TForm1& form) {
  CopyTextToClipboard(RecordsAsText(form.mtData, LocaleDecimalChar));
}

}  // namespace plotvik
