#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/component.h"
#include "platform/exceptions.h"
#include "table/field.h"
#include "table/field_defs.h"
#include "table/fields.h"
#include "table/record_window.h"

namespace plotvik {

class TDataSource;
class TDataLink;

enum class DataSetState {
  StateInactive,
  StateBrowse,
  StateEdit,
  StateInsert,
};

enum class DataSetEvent {
  FieldChanged,
  RecordReplaced,
  RecordsReloaded,
  CursorMoved,
  FieldLayoutChanged,
  RecordUpdate,
  StateChanged,
  BrowseModeCheck,
  FieldListChanged,
};

std::string_view DataSetStateName(DataSetState state);
std::string_view DataSetEventName(DataSetEvent event);

// What a record buffer holds, as far as the cursor is concerned.
enum class TBookmarkFlag { bfCurrent, bfBOF, bfEOF, bfInserted };

enum class TGetMode { gmCurrent, gmNext, gmPrior };
enum class TGetResult { grOK, grBOF, grEOF, grError };

// The answer an OnPostError handler gives.
enum class TDataAction { daFail, daAbort, daRetry };

// A position in a dataset that survives cursor moves. An empty bookmark is "none": going to it
// does nothing. The bytes are whatever the concrete dataset stores to find its record again.
class TBookmark {
 public:
  TBookmark() = default;
  bool IsNone() const { return data_.empty(); }
  explicit operator bool() const { return !data_.empty(); }
  const std::vector<std::byte>& Data() const { return data_; }

 private:
  friend class TDataSet;
  std::vector<std::byte> data_;
};

// The generic dataset; where records are kept is the concrete dataset's business (the protected
// virtual operations). Handlers of its notifications may call back into it, and every operation
// stays consistent when they do.
class TDataSet : public TComponent {
 public:
  using THook = std::function<void(TDataSet&)>;
  using TErrorHook = std::function<void(TDataSet&, EDatabaseError&, TDataAction&)>;

  explicit TDataSet(std::string name = {});
  ~TDataSet() override;

  // --- state ---
  DataSetState State() const { return state_; }
  bool Active() const { return state_ != DataSetState::StateInactive; }
  void SetActive(bool value);
  void Open() { SetActive(true); }
  void Close() { SetActive(false); }
  bool Modified() const { return modified_; }

  // --- fields ---
  TFields& Fields() { return fields_; }
  const TFields& Fields() const { return fields_; }
  TField& Fields(int index) const { return fields_[index]; }
  int FieldCount() const { return fields_.Count(); }
  TField* FindField(std::string_view name) const { return fields_.FindField(name); }
  // "Field '%s' not found" when there is none.
  TField& FieldByName(std::string_view name) const;
  TFieldDefs& FieldDefs() { return fieldDefs_; }
  const TFieldDefs& FieldDefs() const { return fieldDefs_; }

  // --- editing ---
  void Append();
  void Edit();
  void Post();
  void Cancel();
  // Settles a pending edit or insert: posts it when a field was set, discards it otherwise.
  void CheckBrowseMode();

  // --- cursor ---
  void First();
  void Next();
  // Ends where First and Next until Eof would, without visiting the records between.
  void Last();
  bool Eof() const { return eof_; }
  bool Bof() const { return bof_; }
  bool IsEmpty() const { return window_.IsEmpty(); }
  void Refresh();
  struct TResyncMode {
    bool exact = false;
    bool center = false;
  };
  void Resync(TResyncMode mode);

  TBookmark GetBookmark() const;
  void GotoBookmark(const TBookmark& bookmark);
  void FreeBookmark(TBookmark& bookmark) { bookmark = TBookmark(); }

  // Goes up with every change to the stored records but an append, so that a reader who finds
  // it unchanged knows the records it read are still there and any others were appended.
  std::uint64_t RewriteCount() const { return rewriteCount_; }

  // --- size and position ---
  // "Cannot perform this operation on a closed dataset" when closed.
  int RecordCount() const;
  // 1-based number of the active record, -1 when there is none.
  int RecNo() const;

  // --- notifications ---
  void DisableControls();
  void EnableControls();
  bool ControlsDisabled() const { return disableCount_ > 0; }
  // The data sources attached to this dataset, in the order they attached.
  const std::vector<TDataSource*>& DataSources() const { return dataSources_; }

  // --- hooks ---
  THook BeforeOpen, AfterOpen, BeforeClose, AfterClose;
  THook BeforeInsert, AfterInsert;
  THook BeforePost, AfterPost, BeforeCancel, AfterCancel;
  THook BeforeScroll, AfterScroll, BeforeRefresh, AfterRefresh;
  THook OnNewRecord;
  TErrorHook OnPostError;

  // Raises EDatabaseError with the message prefixed by the dataset's name ("mtData: ...").
  [[noreturn]] void DatabaseError(std::string_view message) const;

 protected:
  // --- what a concrete dataset supplies (in the order the generic dataset declares them) ---
  virtual void CheckActive() const;
  virtual void CheckInactive() const;
  // Delivers a notification: the dataset's own bookkeeping, then every data source. Not
  // virtual: Next relies on it doing nothing for a cursor move while the controls are disabled.
  void DataEvent(DataSetEvent event, std::intptr_t info = 0, TField* field = nullptr);
  virtual void DoAfterOpen();
  virtual void DoAfterPost();
  virtual void DoBeforeClose();
  virtual void DoBeforeOpen();
  virtual void DoBeforePost();
  virtual void DoOnNewRecord();
  virtual void DoBeforeInsert();
  virtual int GetRecordCount() const = 0;
  virtual int GetRecNo() const = 0;
  virtual void InternalCancel() = 0;
  virtual void InternalEdit() = 0;
  virtual void InternalInsert() = 0;
  virtual TRecordBuffer AllocRecordBuffer() = 0;
  virtual void FreeRecordBuffer(TRecordBuffer& buffer) = 0;
  virtual std::vector<std::byte> GetBookmarkData(const std::byte* buffer) const = 0;
  virtual TBookmarkFlag GetBookmarkFlag(const std::byte* buffer) const = 0;
  virtual void InternalFirst() = 0;
  virtual void InternalGotoBookmark(const std::vector<std::byte>& bookmark) = 0;
  virtual void InternalInitRecord(std::byte* buffer) = 0;
  virtual void InternalLast() = 0;
  virtual void InternalPost() = 0;
  virtual void InternalSetToRecord(const std::byte* buffer) = 0;
  virtual void SetBookmarkFlag(std::byte* buffer, TBookmarkFlag flag) = 0;
  virtual void SetBookmarkData(std::byte* buffer, const std::vector<std::byte>& data) = 0;
  virtual void SetFieldData(TField& field, const void* data) = 0;
  virtual TGetResult GetRecord(std::byte* buffer, TGetMode mode) = 0;
  virtual void InternalClose() = 0;
  virtual void InternalInitFieldDefs() = 0;
  virtual void InternalOpen() = 0;
  virtual bool IsCursorOpen() const = 0;
  virtual bool GetFieldData(const TField& field, void* data) const = 0;
  // The count of disabled controls left 0 / returned to 0 (before the enable's notifications).
  virtual void ControlsDisabledBegin() {}
  virtual void ControlsDisabledEnd() {}

  // --- services for the concrete dataset ---
  void BindFields();
  void UnbindFields();
  void SetState(DataSetState value);
  // The buffer the active record lives in, or nullptr when the window is empty.
  std::byte* ActiveBuffer() const { return window_.ActiveBuffer(); }
  int BufferCount() const { return window_.Capacity(); }
  int ActiveRecord() const { return window_.Active(); }
  int WindowRecordCount() const { return window_.Count(); }
  // Whether a close now happens because the dataset or the form that owns it is being
  // destroyed: such a close skips the before-close step and AfterClose.
  bool ClosingForDestruction() const;

 private:
  friend class TField;
  friend class TDataSource;
  friend class TDataLink;

  void OpenCursor();
  void CloseCursor();
  void AddField(TField& field);
  void RemoveField(TField& field);
  void AddDataSource(TDataSource& source);
  void RemoveDataSource(TDataSource& source);
  void UpdateBufferCount();
  void SetBufferCount(int count);
  int WantedBufferCount() const;
  void ClearBuffers();
  bool GetNextRecord();
  bool GetPriorRecord();
  int GetNextRecords();
  int GetPriorRecords();
  void SetCurrentRecord(int index);
  void UpdateCursorPos();
  void CursorPosChanged() { window_.ForgetCurrent(); }
  void UpdateRecord();
  void InternalPostGuarded();
  bool IsEditing() const {
    return state_ == DataSetState::StateEdit || state_ == DataSetState::StateInsert;
  }
  void DoHook(const THook& hook) {
    if (hook) hook(*this);
  }

  DataSetState state_ = DataSetState::StateInactive;
  bool modified_ = false;
  std::uint64_t rewriteCount_ = 0;
  TFields fields_;
  TFieldDefs fieldDefs_;

  TRecordWindow window_;
  bool bof_ = true;
  bool eof_ = true;

  std::vector<TDataSource*> dataSources_;
  int disableCount_ = 0;
  DataSetState disableState_ = DataSetState::StateInactive;
  DataSetEvent enableEvent_ = DataSetEvent::RecordsReloaded;
};

}  // namespace plotvik
