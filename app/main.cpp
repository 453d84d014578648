#include <memory>

#include "app/form1.h"
#include "platform/gui/application.h"
#include "platform/locale_settings.h"

int main(int argc, char** argv) {
  using namespace plotvik;
  // The number separators come first: the window and its charts are built with them.
  ReadLocaleSettings();
  TApplication application(argc, argv);
  // A change of the user's locale takes effect from the next load on.
  application.OnSettingChange = [] { ReadLocaleSettings(); };
  auto form = std::make_unique<TForm1>(application);
  const int exitCode = application.Run();
  // The window and all its components go before the application object; nothing is written.
  form.reset();
  return exitCode;
}
