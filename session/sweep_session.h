#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "follow/file_follower.h"
#include "import/sweep_file_loader.h"
#include "session/session_listener.h"

namespace plotvik {

class TMemTable;
class TReferenceRun;
class TRunFollowing;

// The viewer's runs and where they come from: the run on show in the record table mtData, the
// file it was loaded from, the loader with its reader and line, following that file as it grows,
// and the reference run beside it. Its listeners hear what changed. It knows no window: the
// dialog that chooses a file and the box that warns come through a TSweepFileUi.
class TSweepSession : private TSweepFileUi {
 public:
  // `run` is mtData, filled by this session's loader; `ui` chooses the file of File > Open and
  // shows the loader's warnings. Both outlive the session.
  TSweepSession(TMemTable& run, TSweepFileUi& ui);
  ~TSweepSession() override;
  TSweepSession(const TSweepSession&) = delete;
  TSweepSession& operator=(const TSweepSession&) = delete;

  void AddListener(TSessionListener& listener);
  void RemoveListener(TSessionListener& listener);

  TMemTable& Run() const { return run_; }
  TSweepFileLoader& Loader() { return loader_; }
  // The file the shown run was loaded from, as it was chosen or given.
  const std::optional<std::string>& CurrentFile() const { return currentFile_; }

  // File > Open: `ui` chooses the file and the loader reads it. Choosing a file ends following
  // before the table is touched. A file that cannot be opened raises as the loader does and
  // leaves the run and the current file as they were.
  void Open();
  // Loads `fileName` exactly as Open does when that name is chosen.
  void OpenFile(const std::string& fileName);

  bool Following() const { return following_ != nullptr; }
  // Makes `fileName` (a full name) the current file, loads it as a new run, whole lines only,
  // and follows it. A file that cannot be read raises as File > Open would, and is loaded once
  // it is there.
  void Follow(const std::string& fileName);
  // Follows the current file, or ends following; nothing before a file was loaded.
  void ToggleFollowing();
  // Ends following; the run stays as it is.
  void StopFollowing();
  // Reads the followed file again from its start, as a new run.
  void ReloadFollowed();
  // Takes what changed in the followed file since the last look.
  void TakeFollowedChanges() { Look(false); }
  // The followed file, its lines in the run, and when a look could take an unterminated last
  // line; only while following.
  const std::string& FollowedFile() const;
  std::int64_t FollowedLineCount() const;
  std::optional<TFileFollower::TClock::time_point> FollowQuietDeadline() const;

  // The reference's table, none before the first reference was kept or loaded.
  TMemTable* ReferenceTable() const;
  bool ReferencePresent() const;
  // Whether it is drawn: from the moment there is one until ToggleReference hides it.
  bool ReferenceShown() const { return referenceShown_; }
  // Keeps a copy of the run's stored records as the reference, shown; nothing while no run was
  // loaded yet.
  void KeepReference();
  // Loads `fileName` as the reference, shown, with the boxes File > Open would show for it;
  // raises as File > Open does when the file cannot be opened, keeping what there was.
  void LoadReference(const std::string& fileName);
  // Hides a shown reference, shows a hidden one; nothing without a reference.
  void ToggleReference();

 private:
  // The loader's file and warning, for the run's loads and the reference's.
  std::optional<std::string> ChooseFile() override;
  void ShowWarning(const std::string& text) override;

  void LoadChosenFile();
  void StartFollowing(const std::string& fileName);
  // Reads what changed in the followed file and takes it; `reportGone` raises the file's error
  // when it is not there.
  void Look(bool reportGone);
  // Tells of a run the loader has started since the listeners last heard of one; true if so.
  bool NoteNewRun();
  void CreateReference();
  void Notify(TSessionChange change);

  TMemTable& run_;
  TSweepFileUi& ui_;
  TSweepFileLoader loader_;
  std::uint64_t runHeard_ = 0;
  std::vector<TSessionListener*> listeners_;

  std::optional<std::string> currentFile_;
  // Set while OpenFile or LoadReference runs: the name the loader gets instead of asking `ui`.
  std::optional<std::string> givenFile_;
  std::optional<std::string> chosenFile_;
  // Set while the loader asks for the run's file (not the reference's).
  bool choosingRun_ = false;

  std::unique_ptr<TRunFollowing> following_;
  // Set while a look runs: a look asked for from a box it shows waits for its end.
  bool looking_ = false;
  bool lookAgain_ = false;

  std::unique_ptr<TReferenceRun> reference_;
  bool referenceShown_ = true;
};

}  // namespace plotvik
