#include "app/copy_commands.h"

#include "app/chart_pages.h"
#include "chart/db_chart.h"
#include "export/record_text.h"
#include "platform/gui/clipboard.h"
#include "platform/gui/page_control.h"
#include "platform/locale_settings.h"
#include "table/mem_table.h"

namespace plotvik {

void CopyCurrentChart(const TPageControl& pageControl, const TComponent& pages) {
  const int page = pageControl.ActivePageIndex();
  if (page < 0 || page >= kChartPageCount) return;
  CopyPanelToClipboard(PageChart(pages, page));
}

void CopyRecords(TCustomMemTable& run) {
  CopyTextToClipboard(RecordsAsText(run, LocaleDecimalChar));
}

}  // namespace plotvik
