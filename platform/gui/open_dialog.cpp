#include "platform/gui/open_dialog.h"

#include "platform/gui/application.h"

namespace plotvik {

bool TOpenDialog::Execute() {
  std::optional<std::string> chosen = application_.Dialogs().ChooseFileToOpen(fileName_);
  if (!chosen) return false;
  fileName_ = std::move(*chosen);
  return true;
}

}  // namespace plotvik
