#include "app/form1.h"

#include <filesystem>
#include <system_error>

#include "app/chart_pages.h"
#include "app/copy_commands.h"
#include "app/file_following.h"
#include "app/page_tips.h"
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
#include "session/sweep_session.h"
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
// destroyed in reverse order, they let go of it before it goes. The session fills it; it and the
// views are members, gone before any component.
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
      session_(std::make_unique<TSweepSession>(mtData, static_cast<TSweepFileUi&>(*this))) {
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

  for (int i = 0; i < PC.PageCount(); ++i) {
    ShowPageHoverTips(CreateChartPage(*this, mtData, PC.Pages(i), i), i);
  }
  analysisMarks_ =
      std::make_unique<TAnalysisMarks>(mtData, PageChart(*this, 0), PageChart(*this, 2));
  stepCursor_ = std::make_unique<TStepCursorView>(*session_, *this, PC);

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

  reference_ = std::make_unique<TReferenceView>(*session_, *this);
  following_ = std::make_unique<TFileFollowing>(*session_, *this, kCaption);
  AddKeys();

  FormCreate(*this);
}

TForm1::~TForm1() = default;

void TForm1::AddKeys() {
  // The keys beyond the menu's access keys, each a command of the session or of a view.
  AddKey("A", [this] { analysisMarks_->SetVisible(!analysisMarks_->Visible()); });
  AddKey("Right", [this] { stepCursor_->Step(1); });
  AddKey("Left", [this] { stepCursor_->Step(-1); });
  AddKey("Shift+Right", [this] { stepCursor_->Step(TStepCursorView::kLongStep); });
  AddKey("Shift+Left", [this] { stepCursor_->Step(-TStepCursorView::kLongStep); });
  AddKey("Home", [this] { stepCursor_->First(); });
  AddKey("End", [this] { stepCursor_->Last(); });
  AddKey("Esc", [this] { stepCursor_->Hide(); });
  AddKey("Ctrl+C", [this] { CopyCurrentChart(PC, *this); });
  AddKey("Ctrl+Shift+C", [this] { CopyRecords(mtData); });
  AddKey("F5", [this] { Reload(); });
  AddKey("S", [this] { session_->KeepReference(); });
  AddKey("R", [this] { session_->ToggleReference(); });
  AddKey("L", [this] { ToggleFollowing(); });
}

void TForm1::FormCreate(TComponent& /*sender*/) {
  PC.SetActivePageIndex(0);
}

void TForm1::actOpenFileExecute(TComponent& /*sender*/) {
  session_->Open();
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
  session_->OpenFile(fileName);
}

void TForm1::Reload() {
  if (session_->Following()) {
    session_->ReloadFollowed();
  } else if (const std::optional<std::string>& file = session_->CurrentFile()) {
    // A copy: the load replaces the current file's name.
    OpenFile(std::string(*file));
  }
}

void TForm1::Follow(const std::string& fileName) {
  OD.SetFileName(FullName(fileName));
  session_->Follow(OD.FileName());
}

void TForm1::ToggleFollowing() {
  session_->ToggleFollowing();
}

const std::optional<std::string>& TForm1::CurrentFile() const {
  return session_->CurrentFile();
}

void TForm1::LoadReference(const std::string& fileName) {
  session_->LoadReference(fileName);
}

TSweepFileLoader& TForm1::Loader() {
  return session_->Loader();
}

void TForm1::actExitExecute(TComponent& /*sender*/) {
  Close();
}

std::optional<std::string> TForm1::ChooseFile() {
  if (!OD.Execute()) return std::nullopt;
  return OD.FileName();
}

void TForm1::ShowWarning(const std::string& text) {
  Application().MessageDlg(text, TMsgDlgType::mtWarning);
}

}  // namespace plotvik
