#include <gtest/gtest.h>

#include "foundation/clsDataCollection.h"
#include "platform/automation/LateBinding.h"
#include "platform/vb/Convert.h"
#include "tests/platform/vb/VbTestSupport.h"

using vbtest::errorOf;

namespace {

// A set with `n` saved records whose field "Nr" holds 1..n.
void fill(clsDataCollection& set, int n) {
  for (int i = 1; i <= n; ++i) {
    set.AddNew();
    set.let_DataValue(QStringLiteral("Nr"), vb::Variant(0x08000000), vb::Variant(i));
    set.Save();
  }
}

int currentNr(const clsDataCollection& set) {
  return vb::CInt(set.objCurDataRecord()->Item(QStringLiteral("Nr"))->Value);
}

}  // namespace

TEST(clsDataCollection, NewSetHasNoRecordAndIsNotAtEnd) {
  clsDataCollection set;
  EXPECT_EQ(set.RecordCount(), 0);
  EXPECT_FALSE(set.Eof());
  EXPECT_FALSE(set.objCurDataRecord());
}

TEST(clsDataCollection, MoveFirstOnAnEmptySetFailsAndSetsEof) {
  clsDataCollection set;
  EXPECT_FALSE(set.MoveFirst());
  EXPECT_TRUE(set.Eof());
}

TEST(clsDataCollection, FilledRecordsAreWalkedInSavingOrder) {
  clsDataCollection set;
  fill(set, 3);
  EXPECT_EQ(set.RecordCount(), 3);
  QList<int> seen;
  for (bool ok = set.MoveFirst(); !set.Eof(); set.MoveNext()) {
    ASSERT_TRUE(ok);
    seen << currentNr(set);
  }
  EXPECT_EQ(seen, (QList<int>{1, 2, 3}));
}

TEST(clsDataCollection, FieldKeepsItsValueAndSecondValue) {
  clsDataCollection set;
  set.AddNew();
  set.let_DataValue(QStringLiteral("Betrag"), vb::Variant(0x08000000), vb::Variant(12.5));
  set.Save();
  set.MoveFirst();
  const ListElementPtr field = set.objCurDataRecord()->Item(QStringLiteral("betrag"));
  EXPECT_EQ(field->Key, QStringLiteral("Betrag"));
  EXPECT_EQ(vb::CDbl(field->Value), 12.5);
  EXPECT_EQ(vb::CLng(field->Value2), 0x08000000);
}

TEST(clsDataCollection, MoveNextOnTheLastRecordSetsEofAndKeepsTheRecord) {
  clsDataCollection set;
  fill(set, 3);
  set.RandomRecordNr(3);
  EXPECT_FALSE(set.MoveNext());
  EXPECT_TRUE(set.Eof());
  EXPECT_EQ(currentNr(set), 3);
  EXPECT_TRUE(set.MovePrev());
  EXPECT_EQ(currentNr(set), 2);
  EXPECT_FALSE(set.Eof());
}

TEST(clsDataCollection, MovePrevOnTheFirstRecordStaysAndLeavesEof) {
  clsDataCollection set;
  fill(set, 2);
  set.MoveFirst();
  EXPECT_FALSE(set.MovePrev());
  EXPECT_EQ(currentNr(set), 1);
  EXPECT_FALSE(set.Eof());
}

TEST(clsDataCollection, RandomRecordNrOutsideTheSet) {
  clsDataCollection set;
  fill(set, 2);
  set.RandomRecordNr(2);
  EXPECT_FALSE(set.RandomRecordNr(0));
  EXPECT_FALSE(set.Eof());
  EXPECT_EQ(currentNr(set), 2);
  EXPECT_FALSE(set.RandomRecordNr(3));
  EXPECT_TRUE(set.Eof());
  EXPECT_FALSE(set.RandomRecordNr(-5));
  EXPECT_TRUE(set.Eof());
  EXPECT_TRUE(set.RandomRecordNr(1));
  EXPECT_FALSE(set.Eof());
  EXPECT_EQ(currentNr(set), 1);
}

TEST(clsDataCollection, MoveNextBeforeAnyPositioningGoesToTheFirstRecord) {
  clsDataCollection set;
  fill(set, 2);
  EXPECT_TRUE(set.MoveNext());
  EXPECT_EQ(currentNr(set), 1);
}

TEST(clsDataCollection, AddNewAfterAWalkKeepsTheOldPosition) {
  clsDataCollection set;
  fill(set, 3);
  set.RandomRecordNr(2);
  set.AddNew();
  EXPECT_EQ(set.objCurDataRecord()->Count(), 0);
  EXPECT_EQ(set.RecordCount(), 3);
  EXPECT_TRUE(set.MoveNext());
  EXPECT_EQ(currentNr(set), 3);
}

TEST(clsDataCollection, AssignmentsAfterSaveChangeTheSavedRecord) {
  clsDataCollection set;
  set.AddNew();
  set.let_DataValue(QStringLiteral("A"), vb::Variant(), vb::Variant(1));
  set.Save();
  set.let_DataValue(QStringLiteral("B"), vb::Variant(), vb::Variant(2));
  set.Save();
  EXPECT_EQ(set.RecordCount(), 2);
  set.MoveFirst();
  EXPECT_EQ(set.objCurDataRecord()->Count(), 2);
  set.MoveNext();
  EXPECT_EQ(set.objCurDataRecord()->Count(), 2);
}

TEST(clsDataCollection, RecordKeysIgnoreLetterCase) {
  clsDataCollection set;
  set.AddNew();
  set.Save(vb::Variant(QStringLiteral("A")));
  set.AddNew();
  EXPECT_EQ(errorOf([&] { set.Save(vb::Variant(QStringLiteral("a"))); }), 457);
  EXPECT_EQ(set.RecordCount(), 1);
  set.Save();
  set.Save(vb::Variant(QString()));
  EXPECT_EQ(set.RecordCount(), 3);
}

TEST(clsDataCollection, FieldNamesIgnoreLetterCaseAndTheFirstValueStays) {
  clsDataCollection set;
  set.AddNew();
  set.let_DataValue(QStringLiteral("Betrag"), vb::Variant(), vb::Variant(1));
  EXPECT_EQ(errorOf([&] { set.let_DataValue(QStringLiteral("BETRAG"), vb::Variant(), vb::Variant(2)); }), 457);
  EXPECT_EQ(vb::CInt(set.objCurDataRecord()->Item(QStringLiteral("Betrag"))->Value), 1);
}

TEST(clsDataCollection, NoCurrentRecordIsObjectNotSet) {
  clsDataCollection set;
  EXPECT_EQ(errorOf([&] { set.let_DataValue(QStringLiteral("X"), vb::Variant(), vb::Variant(1)); }), 91);
  EXPECT_EQ(errorOf([&] { set.Save(); }), 91);
  EXPECT_EQ(set.RecordCount(), 0);
}

TEST(clsDataCollection, CurrentRecordCanBeAssigned) {
  clsDataCollection set;
  auto record = std::make_shared<DataRecord>();
  set.set_objCurDataRecord(record);
  set.let_DataValue(QStringLiteral("X"), vb::Variant(), vb::Variant(1));
  EXPECT_EQ(record->Count(), 1);
}

TEST(clsDataCollection, CountAndPositionsAre16Bit) {
  clsDataCollection set;
  set.AddNew();
  for (int i = 0; i < 32767; ++i) set.Save();
  EXPECT_EQ(set.RecordCount(), 32767);
  EXPECT_TRUE(set.RandomRecordNr(32767));
  EXPECT_EQ(errorOf([&] { set.MoveNext(); }), 6);
  set.Save();
  EXPECT_EQ(errorOf([&] { set.RecordCount(); }), 6);
}

TEST(clsDataCollection, HostsFillAndWalkItByName) {
  using automation::CallKind;
  using automation::callByName;
  clsDataCollection set;
  for (int i = 1; i <= 2; ++i) {
    callByName(set, QStringLiteral("AddNew"), CallKind::Method);
    callByName(set, QStringLiteral("DataValue"), CallKind::Let,
               {vb::Variant(QStringLiteral("Nr")), vb::Variant(0x08000000), vb::Variant(i)});
    callByName(set, QStringLiteral("Save"), CallKind::Method);
  }
  EXPECT_EQ(vb::CInt(callByName(set, QStringLiteral("RecordCount"), CallKind::Get)), 2);
  EXPECT_TRUE(vb::CBool(callByName(set, QStringLiteral("MoveFirst"), CallKind::Method)));
  EXPECT_FALSE(vb::CBool(callByName(set, QStringLiteral("EOF"), CallKind::Get)));
  EXPECT_TRUE(vb::CBool(callByName(set, QStringLiteral("movenext"), CallKind::Method)));
  EXPECT_EQ(currentNr(set), 2);
  EXPECT_FALSE(vb::CBool(callByName(set, QStringLiteral("MoveNext"), CallKind::Method)));
  EXPECT_TRUE(vb::CBool(callByName(set, QStringLiteral("EOF"), CallKind::Get)));
  EXPECT_TRUE(vb::CBool(callByName(set, QStringLiteral("RandomRecordNr"), CallKind::Method, {vb::Variant(1)})));
  EXPECT_EQ(currentNr(set), 1);
  // The handler-driven print counts a source with MoveLast, MoveFirst, RecordCount.
  EXPECT_TRUE(vb::CBool(callByName(set, QStringLiteral("MoveLast"), CallKind::Method)));
  EXPECT_EQ(currentNr(set), 2);
  callByName(set, QStringLiteral("Save"), CallKind::Method, {vb::Variant(QStringLiteral("K"))});
  EXPECT_EQ(errorOf([&] { callByName(set, QStringLiteral("Save"), CallKind::Method, {vb::Variant(QStringLiteral("k"))}); }),
            457);
}

TEST(clsDataCollection, MoveLastStandsOnTheLastRecordAndLeavesEof) {
  clsDataCollection set;
  fill(set, 3);
  set.MoveFirst();
  set.MoveNext();
  set.MoveNext();
  set.MoveNext();
  ASSERT_TRUE(set.Eof());
  EXPECT_TRUE(set.MoveLast());
  EXPECT_FALSE(set.Eof());
  EXPECT_EQ(currentNr(set), 3);
  // From the last record the walk goes on as from any other.
  EXPECT_FALSE(set.MoveNext());
  EXPECT_TRUE(set.Eof());
  EXPECT_TRUE(set.MoveFirst());
  EXPECT_EQ(currentNr(set), 1);
}

TEST(clsDataCollection, MoveLastOnAnEmptySetFailsAndSetsEof) {
  clsDataCollection set;
  EXPECT_FALSE(set.MoveLast());
  EXPECT_TRUE(set.Eof());
  EXPECT_FALSE(set.objCurDataRecord());
}

TEST(clsDataCollection, MoveLastReachesRecord32767AndOverflowsBeyond) {
  clsDataCollection set;
  set.AddNew();
  for (int i = 0; i < 32767; ++i) set.Save();
  EXPECT_TRUE(set.MoveLast());
  set.Save();
  EXPECT_EQ(errorOf([&] { set.MoveLast(); }), 6);
}
