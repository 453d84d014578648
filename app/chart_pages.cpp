#include "app/chart_pages.h"

#include <QWidget>
#include <memory>

#include "app/form1.h"
#include "platform/gui/native_widgets.h"

namespace plotvik {

void CreateChartPage(TForm1& /*form*/, TTabSheet& sheet, int /*pageIndex*/) {
  // The charts are not built yet: an empty widget holds each page's place until they are.
  sheet.NativePage().SetClient(std::make_unique<QWidget>());
}

}  // namespace plotvik
