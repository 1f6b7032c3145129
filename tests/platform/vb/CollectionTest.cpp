#include <gtest/gtest.h>

#include "platform/vb/Collection.h"
#include "tests/platform/vb/VbTestSupport.h"

using vb::Collection;
using vbtest::errorOf;

TEST(Collection, KeepsInsertionOrderAndCountsFromOne) {
  Collection<int> c;
  c.Add(10, "a");
  c.Add(20);
  c.Add(30, "c");
  ASSERT_EQ(c.Count(), 3);
  EXPECT_EQ(c.Item(1), 10);
  EXPECT_EQ(c.Item(2), 20);
  EXPECT_EQ(c.Item(3), 30);
  EXPECT_EQ(c.Item("C"), 30);
}

TEST(Collection, KeysIgnoreCaseOfUmlauts) {
  Collection<int> c;
  c.Add(1, QStringLiteral("SKRV_BeträgeFormat"));
  EXPECT_TRUE(c.Contains(QStringLiteral("skrv_beträgeformat")));
  EXPECT_TRUE(c.Contains(QStringLiteral("SKRV_BETRÄGEFORMAT")));
  EXPECT_EQ(errorOf([&] { c.Add(2, QStringLiteral("skrv_BETRäGEformat")); }), 457);
  EXPECT_EQ(c.Count(), 1);
}

TEST(Collection, MissingKeyIs5AndBadPositionIs9) {
  Collection<int> c;
  c.Add(1, "x");
  EXPECT_EQ(errorOf([&] { c.Item("y"); }), 5);
  EXPECT_EQ(errorOf([&] { c.Remove("y"); }), 5);
  EXPECT_EQ(errorOf([&] { c.Item(0); }), 9);
  EXPECT_EQ(errorOf([&] { c.Item(2); }), 9);
  EXPECT_EQ(errorOf([&] { c.Remove(2); }), 9);
}

TEST(Collection, ReplacingByRemoveAndAddMovesTheEntryToTheEnd) {
  Collection<int> c;
  c.Add(1, "A");
  c.Add(2, "B");
  c.Remove("a");
  c.Add(3, "a");
  EXPECT_EQ(c.Item(1), 2);
  EXPECT_EQ(c.Item(2), 3);
  EXPECT_EQ(c.KeyAt(2), QStringLiteral("a"));
  // Keys after a removed entry are still found at their new position.
  c.Remove(1);
  EXPECT_EQ(c.Item("A"), 3);
}

TEST(Collection, SameItemMayBeAddedTwiceWithoutKey) {
  Collection<int> c;
  c.Add(7);
  c.Add(7);
  EXPECT_EQ(c.Count(), 2);
}
