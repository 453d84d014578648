#pragma once

namespace plotvik {

// What changed in a session, as its listeners hear of it.
enum class TSessionChange {
  // A new run took the shown one's place: File > Open, a reload, a followed file read anew.
  // Heard once the run's records are in, and before the warning about a line its load stopped
  // at, so that nothing shown for the old run outlives it.
  scRunReplaced,
  // A followed file's new lines were added to the shown run; its last record may have been
  // rewritten in place (a line taken before its end arrived, which went on).
  scRowsAppended,
  // Following began (before the first look) or ended.
  scFollowingStarted,
  scFollowingStopped,
  // A look at the followed file has ended: the session's quiet deadline says when the next one
  // is due, if one is.
  scFollowingLooked,
  // The reference's table exists, closed, before its first records arrive: whatever draws it
  // binds to it now, so that it follows the table as the records come.
  scReferenceCreated,
  // A reference was kept or loaded, and is shown.
  scReferenceSet,
  scReferenceShown,
  scReferenceHidden,
};

// Hears of a session's changes. A listener registers with the session and leaves before it goes.
class TSessionListener {
 public:
  virtual ~TSessionListener() = default;
  virtual void SessionChanged(TSessionChange change) = 0;
};

}  // namespace plotvik
