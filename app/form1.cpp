#include "app/form1.h"

#include <filesystem>
#include <system_error>

#include "app/chart_pages.h"
#include "app/copy_commands.h"
#include "app/file_following.h"
#include "app/reference_view.h"
#include "app/step_cursor_view.h"
#include "chart/db_chart.h"
#include "marks/analysis_marks.h"
#include "platform/file_path.h"
#include "platform/gui/action_list.h"
#include "platform/gui/application.h"
#include "platform/gui/main_menu.h"
#include "platform/gui/open_dialog.h"
#include "platform/gui/page_control.h"
#include "table/data_source.h"
#include "table/mem_table.h"
#include "table/sweep_table.h"

namespace plotvik {

namespace {

TTabSheet& AddPage(TForm& form, TPageControl& pageControl, int index) {
  const TChartPageDecl& decl = kChartPages[index];
  return form.CreateComponent<TTabSheet>(decl.sheetName, pageControl, decl.caption,
                                         decl.imageIndex);
}

}  // namespace

const std::string TForm1::kCaption =
    "Plotvik (by Tarnek)" + std::string(28, ' ') + "Русская версия 0.1 Vorlis-Ensmo";

// The table comes first: the pages' charts attach themselves to it as they are built, and,
// destroyed in reverse order, they let go of it before it goes.
TForm1::TForm1(TApplication& application)
    : TForm("Form1", application),
      mtData(CreateSweepTable(*this)),
      dsData(CreateComponent<TDataSource>("dsData")),
      PC(CreateComponent<TPageControl>("PC", *this)),
      tsSWR(AddPage(*this, PC, 0)),
      tsR(AddPage(*this, PC, 1)),
      tsjX(AddPage(*this, PC, 2)),
      tsGain(AddPage(*this, PC, 3)),
      tsFB(AddPage(*this, PC, 4)),
      tsElevation(AddPage(*this, PC, 5)),
      OD(CreateComponent<TOpenDialog>("OD", application)),
      ActionList1(CreateComponent<TActionList>("ActionList1")),
      actOpenFile(CreateComponent<TAction>("actOpenFile", &ActionList1)),
      actExit(CreateComponent<TAction>("actExit", &ActionList1)),
      MainMenu1(CreateComponent<TMainMenu>("MainMenu1")),
      miFile(CreateComponent<TMenuItem>("miFile", "&Файл")),
      Open1(CreateComponent<TMenuItem>("Open1")),
      N1(CreateComponent<TMenuItem>("N1", "-")),
      Exit1(CreateComponent<TMenuItem>("Exit1")),
      loader_(mtData) {
  SetCaption(kCaption);
  SetFont("MS Sans Serif", -11);

  // A data source on the table that nothing uses; it never starts an edit of its own.
  dsData.SetAutoEdit(false);
  dsData.SetDataSet(&mtData);

  actOpenFile.SetCaption("&Открыть");
  actOpenFile.OnExecute = [this](TComponent& sender) { actOpenFileExecute(sender); };
  actExit.SetCaption("В&ыход");
  actExit.OnExecute = [this](TComponent& sender) { actExitExecute(sender); };

  // No entry has a shortcut key: only the access keys reach them.
  MainMenu1.Items().Add(miFile);
  miFile.Add(Open1);
  miFile.Add(N1);
  miFile.Add(Exit1);
  Open1.SetAction(&actOpenFile);
  Exit1.SetAction(&actExit);
  SetMenu(MainMenu1);

  for (int i = 0; i < PC.PageCount(); ++i) CreateChartPage(*this, PC.Pages(i), i);
  analysisMarks_ =
      std::make_unique<TAnalysisMarks>(mtData, PageChart(*this, 0), PageChart(*this, 2));
  AddKey("A", [this] { analysisMarks_->SetVisible(!analysisMarks_->Visible()); });
  stepCursor_ = std::make_unique<TStepCursorView>(*this);

  // The charts are laid out for a 623 x 379 page, and frames, menu bars and tabs differ between
  // desktops: the page size rules, the window grows around it from the designed corner.
  int width = 0;
  int height = 0;
  PC.SizeForPageClient(kPageClientWidth, kPageClientHeight, width, height);
  SetClientSize(width, height);
  SetClientSize(width, height + MenuBarHeight());
  SetPosition(kDesignedLeft, kDesignedTop);

  // A sweep file dropped from the file manager loads as if chosen in File > Open.
  AcceptFileDrops([this](const std::string& fileName) { OpenFile(fileName); });

  AddKey("Ctrl+C", [this] { CopyCurrentChart(*this); });
  AddKey("Ctrl+Shift+C", [this] { CopyRecords(*this); });
  reference_ = std::make_unique<TReferenceView>(*this);
  AddKey("F5", [this] { Reload(); });
  AddKey("S", [this] { reference_->Keep(mtData); });
  AddKey("R", [this] { reference_->Toggle(); });
  following_ = std::make_unique<TFileFollowing>(*this);
  AddKey("L", [this] { ToggleFollowing(); });

  FormCreate(*this);
}

TForm1::~TForm1() = default;

void TForm1::FormCreate(TComponent& /*sender*/) {
  PC.SetActivePageIndex(0);
}

void TForm1::actOpenFileExecute(TComponent& /*sender*/) {
  LoadChosenFile();
}

void TForm1::LoadChosenFile() {
  chosenFile_.reset();
  choosingRun_ = true;
  try {
    loader_.actOpenFileExecute(*this);
  } catch (...) {
    choosingRun_ = false;
    throw;
  }
  choosingRun_ = false;
  // A file that could not be opened has raised by now and leaves the shown run's name.
  if (chosenFile_) currentFile_ = std::move(chosenFile_);
  chosenFile_.reset();
}

namespace {

// The dialog would hand over a full path and keep it for the next time. The ".." stay: taken
// away by text, "l/.." names another folder than the kernel's when l is a symbolic link.
std::string FullName(const std::string& fileName) {
  std::error_code error;
  const std::filesystem::path path = std::filesystem::absolute(PathOf(fileName), error);
  return error ? fileName : NameOf(path);
}

}  // namespace

void TForm1::OpenFile(const std::string& fileName) {
  OD.SetFileName(FullName(fileName));
  // The loader reads the name as given, as the tools do, so its length limit counts the same text.
  givenFile_ = fileName;
  try {
    LoadChosenFile();
  } catch (...) {
    givenFile_.reset();
    throw;
  }
  givenFile_.reset();
}

void TForm1::Reload() {
  if (following_->Active()) {
    following_->Reload();
  } else if (currentFile_) {
    OpenFile(*currentFile_);
  }
}

void TForm1::Follow(const std::string& fileName) {
  OD.SetFileName(FullName(fileName));
  currentFile_ = OD.FileName();
  following_->Start(*currentFile_);
}

void TForm1::ToggleFollowing() {
  if (following_->Active()) {
    following_->Stop();
  } else if (currentFile_) {
    following_->Start(*currentFile_);
  }
}

void TForm1::LoadReference(const std::string& fileName) {
  givenFile_ = fileName;
  try {
    reference_->Load(*this);
  } catch (...) {
    givenFile_.reset();
    throw;
  }
  givenFile_.reset();
}

void TForm1::actExitExecute(TComponent& /*sender*/) {
  Close();
}

std::optional<std::string> TForm1::ChooseFile() {
  if (givenFile_) {
    chosenFile_ = givenFile_;
  } else if (OD.Execute()) {
    chosenFile_ = OD.FileName();
  } else {
    return std::nullopt;
  }
  // A new run chosen ends following, before the load touches the table.
  if (choosingRun_) following_->Stop();
  return chosenFile_;
}

void TForm1::ShowWarning(const std::string& text) {
  Application().MessageDlg(text, TMsgDlgType::mtWarning);
}

}  // namespace plotvik
