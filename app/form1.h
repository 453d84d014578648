#pragma once

#include <memory>
#include <optional>
#include <string>

#include "import/sweep_file_loader.h"
#include "platform/gui/form.h"

namespace plotvik {

class TAction;
class TActionList;
class TAnalysisMarks;
class TApplication;
class TDataSource;
class TFileFollowing;
class TMainMenu;
class TMemTable;
class TMenuItem;
class TOpenDialog;
class TPageControl;
class TReferenceView;
class TStepCursorView;
class TSweepSession;
class TTabSheet;

// The main window: six tab pages, the record table they chart, the open dialog, the two
// commands and the menu that reaches them. It owns every one of its components from its
// creation to its destruction, and the session that fills the table and the views that show
// what the session holds; the window's keys reach both.
class TForm1 : public TForm, private TSweepFileUi {
 public:
  // The window's caption, exactly as designed: 28 blanks separate its two halves.
  static const std::string kCaption;
  // The designed outer bounds, and the client area that every page gets at that size.
  static constexpr int kDesignedLeft = 252;
  static constexpr int kDesignedTop = 110;
  static constexpr int kDesignedWidth = 639;
  static constexpr int kDesignedHeight = 453;
  static constexpr int kPageClientWidth = 623;
  static constexpr int kPageClientHeight = 379;

  explicit TForm1(TApplication& application);
  ~TForm1() override;

  TMemTable& mtData;
  TDataSource& dsData;
  TPageControl& PC;
  TTabSheet& tsSWR;
  TTabSheet& tsR;
  TTabSheet& tsjX;
  TTabSheet& tsGain;
  TTabSheet& tsFB;
  TTabSheet& tsElevation;
  TOpenDialog& OD;
  TActionList& ActionList1;
  TAction& actOpenFile;
  TAction& actExit;
  TMainMenu& MainMenu1;
  TMenuItem& miFile;
  TMenuItem& Open1;
  TMenuItem& N1;
  TMenuItem& Exit1;

  // Makes the first page current; runs once every component exists.
  void FormCreate(TComponent& sender);
  // File > Open: the sweep file loader, with OD to choose and the warning box to complain.
  void actOpenFileExecute(TComponent& sender);
  // Loads `fileName` exactly as File > Open does when that name is chosen in the dialog: the
  // same loader, warning and failures, and the dialog offers the file's full path next time.
  // For the command line and a file dropped onto the window.
  void OpenFile(const std::string& fileName);
  // File > Exit: closes the window as its close box does.
  void actExitExecute(TComponent& sender);

  // F5: File > Open of the file last loaded (read anew from its start while it is followed);
  // nothing before a file was loaded.
  void Reload();
  // Loads `fileName` as a new run and follows it as it grows (--follow).
  void Follow(const std::string& fileName);
  // L: follows the current file, or ends following.
  void ToggleFollowing();
  TFileFollowing& Following() const { return *following_; }
  // The file the shown run was loaded from, as the dialog named it.
  const std::optional<std::string>& CurrentFile() const;
  // Loads `fileName` as the reference run, with the boxes File > Open would show for it.
  void LoadReference(const std::string& fileName);

  // The runs: the one mtData holds, the file it came from, following and the reference.
  TSweepSession& Session() const { return *session_; }
  // The loader with its reader SweepFile and its CurrentLine.
  TSweepFileLoader& Loader();
  // The analysis marks on the SWR and jX pages; the key A shows and hides them.
  TAnalysisMarks& AnalysisMarks() { return *analysisMarks_; }
  // The step cursor: Left, Right (Shift by 10), Home, End, Esc.
  TStepCursorView& StepCursor() { return *stepCursor_; }

 private:
  // The open dialog and the warning box, for the session's loads.
  std::optional<std::string> ChooseFile() override;
  void ShowWarning(const std::string& text) override;
  void AddKeys();

  // Goes after the views, which hear from it and draw what it holds.
  std::unique_ptr<TSweepSession> session_;
  std::unique_ptr<TReferenceView> reference_;
  std::unique_ptr<TFileFollowing> following_;
  std::unique_ptr<TAnalysisMarks> analysisMarks_;
  std::unique_ptr<TStepCursorView> stepCursor_;
};

}  // namespace plotvik
