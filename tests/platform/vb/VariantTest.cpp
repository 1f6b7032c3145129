#include <gtest/gtest.h>

#include <QDateTime>
#include <QAbstractItemModel>
#include <QTimer>

#include "platform/vb/Variant.h"

using vb::VarType;
using vb::Variant;

TEST(Variant, MarkersAreDistinctAndHaveTheirTypeCodes) {
  EXPECT_TRUE(Variant().isEmpty());
  EXPECT_EQ(Variant().varType(), VarType::Empty);
  EXPECT_TRUE(Variant::null().isNull());
  EXPECT_EQ(Variant::null().varType(), VarType::Null);
  EXPECT_TRUE(Variant::missing().isMissing());
  EXPECT_EQ(Variant::missing().varType(), VarType::Error);
  EXPECT_TRUE(Variant::nothing().isNothing());
  EXPECT_EQ(Variant::nothing().varType(), VarType::Object);

  EXPECT_FALSE(Variant() == Variant::null());
  EXPECT_FALSE(Variant::null() == Variant::missing());
  EXPECT_FALSE(Variant::missing() == Variant());
  EXPECT_FALSE(Variant(QString()) == Variant());  // an empty text is a value, not Empty
}

TEST(Variant, ValuesKeepTheirTypeCodes) {
  EXPECT_EQ(Variant(true).varType(), VarType::Boolean);
  EXPECT_EQ(Variant(std::int16_t(5)).varType(), VarType::Integer);
  EXPECT_EQ(Variant(5).varType(), VarType::Long);
  EXPECT_EQ(Variant(std::uint8_t(5)).varType(), VarType::Byte);
  EXPECT_EQ(Variant(5.5).varType(), VarType::Double);
  EXPECT_EQ(Variant("x").varType(), VarType::String);
  EXPECT_EQ(Variant(QDate(2023, 1, 2)).varType(), VarType::Date);
  EXPECT_TRUE(Variant(5).isNumberType());
  EXPECT_TRUE(Variant(std::uint8_t(5)).isNumberType());
  EXPECT_FALSE(Variant(true).isNumberType());
  EXPECT_FALSE(Variant("5").isNumberType());
}

TEST(Variant, FromQVariantTurnsInvalidAndTypedNullIntoNull) {
  EXPECT_TRUE(Variant::fromQVariant(QVariant()).isNull());
  // What QtSql hands over for a NULL column.
  EXPECT_TRUE(Variant::fromQVariant(QVariant(QMetaType::fromType<int>())).isNull());
  EXPECT_TRUE(Variant::fromQVariant(QVariant(QMetaType::fromType<QString>())).isNull());
  // An empty text from a database is a value.
  EXPECT_TRUE(Variant::fromQVariant(QVariant(QStringLiteral(""))).isString());
}

TEST(Variant, FromQVariantMapsQtTypes) {
  EXPECT_EQ(Variant::fromQVariant(QVariant(42)).varType(), VarType::Long);
  EXPECT_EQ(Variant::fromQVariant(QVariant(qint64(1) << 40)).varType(), VarType::LongLong);
  EXPECT_EQ(Variant::fromQVariant(QVariant(1.5f)).varType(), VarType::Double);
  EXPECT_EQ(Variant::fromQVariant(QVariant(QByteArray("Grüße"))).value().toString(), QStringLiteral("Grüße"));
  const Variant date = Variant::fromQVariant(QVariant(QDate(2023, 3, 15)));
  ASSERT_TRUE(date.isDate());
  EXPECT_EQ(date.value().toDateTime(), QDateTime(QDate(2023, 3, 15), QTime(0, 0)));
  // A time alone lies on the serial day 0.
  const Variant time = Variant::fromQVariant(QVariant(QTime(14, 30)));
  EXPECT_EQ(time.value().toDateTime(), QDateTime(QDate(1899, 12, 30), QTime(14, 30)));
  // A Variant carried inside a QVariant comes out as itself.
  EXPECT_TRUE(Variant::fromQVariant(QVariant::fromValue(Variant::missing())).isMissing());
}

TEST(Variant, ToQVariantGivesInvalidForMarkers) {
  EXPECT_FALSE(Variant::null().toQVariant().isValid());
  EXPECT_FALSE(Variant().toQVariant().isValid());
  EXPECT_EQ(Variant(7).toQVariant(), QVariant(7));
}

TEST(Variant, ObjectsCompareByIdentity) {
  auto a = std::make_shared<QTimer>();
  auto b = std::make_shared<QTimer>();
  EXPECT_TRUE(Variant(a) == Variant(a));
  EXPECT_FALSE(Variant(a) == Variant(b));
  EXPECT_FALSE(Variant(a) == Variant::nothing());
  EXPECT_EQ(Variant(a).objectAs<QTimer>(), a);
  EXPECT_EQ(Variant(a).objectAs<QAbstractItemModel>(), nullptr);
}
