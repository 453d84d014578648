#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>

#include "table_fixture.h"

namespace plotvik::testing {
namespace {

enum class Kind { ListError, DatabaseError, MemTableError };

struct FailureCase {
  const char* name;
  std::function<void(SweepForm&)> setup;
  std::function<void(SweepForm&)> failing;
  Kind kind;
  const char* message;
  DataSetState stateAfter;
  friend void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.name; }
};

void OpenTable(SweepForm& f) {
  f.table.Open();
}
void Inserting(SweepForm& f) {
  f.table.Open();
  f.table.Append();
}
void NoSetup(SweepForm&) {}

class Failures : public ::testing::TestWithParam<FailureCase> {};

TEST_P(Failures, RaiseTheirClassAndMessageAndKeepTheState) {
  const FailureCase& c = GetParam();
  SweepForm f;
  c.setup(f);
  try {
    c.failing(f);
    FAIL() << "no exception";
  } catch (const EMemTableError& e) {
    EXPECT_EQ(c.kind, Kind::MemTableError);
    EXPECT_STREQ(e.what(), c.message);
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(c.kind, Kind::DatabaseError);
    EXPECT_STREQ(e.what(), c.message);
  } catch (const EListError& e) {
    EXPECT_EQ(c.kind, Kind::ListError);
    EXPECT_STREQ(e.what(), c.message);
  }
  EXPECT_EQ(f.table.State(), c.stateAfter);
}

const char kClosed[] = "mtData: Cannot perform this operation on a closed dataset";

void AddFieldNamedExtra(SweepForm& f) {
  auto& extra = f.form.CreateComponent<TFloatField>("mtDataExtra");
  extra.SetFieldName("Extra");
  extra.SetDataSet(&f.table);
}

// Field names are compared without regard to case.
void AddSecondHeightField(SweepForm& f) {
  auto& extra = f.form.CreateComponent<TFloatField>("mtDataHeight2");
  extra.SetFieldName("HEIGHT");
  extra.SetDataSet(&f.table);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Table, Failures,
    ::testing::Values(
        FailureCase{"TenthField",         Inserting, [](SweepForm& f) { f.table.Fields(9).SetValue(1.0); },                                      Kind::ListError,     "List index out of bounds (9)",                             DataSetState::StateInsert},
        FailureCase{"NegativeField",      OpenTable, [](SweepForm& f) { f.table.Fields(-1); },                                                   Kind::ListError,     "List index out of bounds (-1)",                            DataSetState::StateBrowse},
        FailureCase{"PostInBrowse",       OpenTable, [](SweepForm& f) { f.table.Post(); },                                                       Kind::DatabaseError, "mtData: Dataset not in edit or insert mode",               DataSetState::StateBrowse},
        FailureCase{"PostClosed",         NoSetup,   [](SweepForm& f) { f.table.Post(); },                                                       Kind::DatabaseError, "mtData: Dataset not in edit or insert mode",               DataSetState::StateInactive},
        FailureCase{"AppendClosed",       NoSetup,   [](SweepForm& f) { f.table.Append(); },                                                     Kind::DatabaseError, kClosed,                                                    DataSetState::StateInactive},
        FailureCase{"FirstClosed",        NoSetup,   [](SweepForm& f) { f.table.First(); },                                                      Kind::DatabaseError, kClosed,                                                    DataSetState::StateInactive},
        FailureCase{"NextClosed",         NoSetup,   [](SweepForm& f) { f.table.Next(); },                                                       Kind::DatabaseError, kClosed,                                                    DataSetState::StateInactive},
        FailureCase{"RefreshClosed",      NoSetup,   [](SweepForm& f) { f.table.Refresh(); },                                                    Kind::DatabaseError, kClosed,                                                    DataSetState::StateInactive},
        FailureCase{"BrowseCheckClosed",  NoSetup,   [](SweepForm& f) { f.table.CheckBrowseMode(); },                                            Kind::DatabaseError, kClosed,                                                    DataSetState::StateInactive},
        FailureCase{"RecordCountClosed",  NoSetup,   [](SweepForm& f) { f.table.RecordCount(); },                                                Kind::DatabaseError, kClosed,                                                    DataSetState::StateInactive},
        FailureCase{"AddFieldWhenOpen",   OpenTable, AddFieldNamedExtra,                                                                         Kind::DatabaseError, "mtData: Cannot perform this operation on an open dataset", DataSetState::StateBrowse},
        FailureCase{"DuplicateFieldName", NoSetup,   AddSecondHeightField,                                                                       Kind::DatabaseError, "mtData: Duplicate field name 'HEIGHT'",                    DataSetState::StateInactive},
        FailureCase{"UnknownField",       OpenTable, [](SweepForm& f) { f.table.FieldByName("Gain"); },                                          Kind::DatabaseError, "mtData: Field 'Gain' not found",                           DataSetState::StateBrowse},
        FailureCase{"TextThatIsNoNumber", Inserting, [](SweepForm& f) { f.table.FieldByName("SWR").SetValue("1.2.3"); },                         Kind::DatabaseError, "Invalid value for field 'SWR'",                            DataSetState::StateInsert},
        FailureCase{"SetFieldInBrowse",   OpenTable, [](SweepForm& f) { f.table.Fields(0).SetValue(1.0); },                                      Kind::DatabaseError, "mtData: Dataset is not in edit mode.",                     DataSetState::StateBrowse}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST(Failures, FailedLineIsDiscardedByTheNextClose) {
  SweepForm f;
  f.table.Open();
  f.AddRecord({1});
  f.table.Append();
  for (int i = 0; i < 9; ++i) f.table.Fields(i).SetValue(double(i));
  EXPECT_THROW(f.table.Fields(9), EListError);
  EXPECT_TRUE(f.table.Modified());
  f.table.Close();
  f.table.Open();
  EXPECT_EQ(f.table.RecordCount(), 0);
}

TEST(Failures, OpeningWithoutFieldsFailsAndStaysClosed) {
  using Log = std::vector<std::string>;
  TComponent form;
  auto& table = form.CreateComponent<TMemTable>("mtData");
  Log log;
  RecordingSource source(log);
  source.SetDataSet(&table);
  try {
    table.Open();
    FAIL();
  } catch (const EMemTableError& e) {
    EXPECT_STREQ(e.what(), "There must be at least one field");
  }
  EXPECT_FALSE(table.Active());
  EXPECT_TRUE(log.empty());
}

// A table whose storage describes its columns differently from the declared fields.
class MisdescribedTable : public TMemTable {
 public:
  MisdescribedTable(TFieldType heightType, bool dropHeight)
      : TMemTable("mtData"), heightType_(heightType), dropHeight_(dropHeight) {}

 protected:
  void InternalInitFieldDefs() override {
    FieldDefs().Clear();
    for (const TField* field : Fields()) {
      const bool isHeight = field->FieldName() == "height";
      if (isHeight && dropHeight_) continue;
      FieldDefs().Add(field->FieldName(), isHeight ? heightType_ : field->DataType());
    }
  }

 private:
  TFieldType heightType_;
  bool dropHeight_;
};

TEST(Failures, FieldsThatDoNotMatchTheirDefinitions) {
  struct Case {
    TFieldType type;
    bool drop;
    const char* message;
  };
  // clang-format off
  const Case cases[] = {
      {TFieldType::ftInteger, false, "mtData: Type mismatch for field 'height', expecting: Float actual: Integer"},
      {TFieldType::ftFloat,   true,  "mtData: Field 'height' not found"},
  };
  // clang-format on
  for (const Case& c : cases) {
    TComponent form;
    auto& table = form.CreateComponent<MisdescribedTable>(c.type, c.drop);
    for (const char* name : {"Id", "height"}) {
      auto& field = form.CreateComponent<TFloatField>();
      field.SetFieldName(name);
      field.SetDataSet(&table);
    }
    try {
      table.Open();
      FAIL();
    } catch (const EDatabaseError& e) {
      EXPECT_STREQ(e.what(), c.message);
    }
    EXPECT_FALSE(table.Active());
    EXPECT_EQ(table.Fields(0).FieldNo(), 0);  // unbound again
  }
}

}  // namespace
}  // namespace plotvik::testing
