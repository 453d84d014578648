#pragma once

#include <string>

#include "platform/component.h"

namespace plotvik {

class TApplication;

// The file-open dialog of a window. Every file is listed, there is no title of its own, no
// filter, default extension or initial folder; a typed name need not exist (whoever opens the
// file reports that). After each use in which the user chose a file, FileName holds its full
// path, and the next use offers it again.
class TOpenDialog : public TComponent {
 public:
  TOpenDialog(std::string name, TApplication& application)
      : TComponent(std::move(name)), application_(application) {}

  const std::string& FileName() const { return fileName_; }
  void SetFileName(std::string fileName) { fileName_ = std::move(fileName); }

  // Modal. True when the user chose a file; false, with FileName unchanged, when cancelled.
  // The chosen path is kept whole, however long: the file reader refuses a name it cannot
  // take instead of opening whatever a shortened name would point at.
  bool Execute();

 private:
  TApplication& application_;
  std::string fileName_;
};

}  // namespace plotvik
