// One printer's bins: look-ups by name and number, the walk over the bins, the default bin.
#include "engine/clsPrinterInfo.h"

#include <gtest/gtest.h>

#include "engine/modPrinterInterface.h"
#include "platform/vb/VbError.h"
#include "tests/engine/EngineTestSupport.h"
#include "tests/support/ErrorOf.h"

using enginetest::printer;

namespace {

std::shared_ptr<clsPrinterInfo> load(const printing::PrinterInfo& p, const QList<printing::PrinterInfo>& all = {}) {
  std::shared_ptr<clsPrinterInfo> info;
  LoadPrinterOptions(p, all.isEmpty() ? QList<printing::PrinterInfo>{p} : all, info);
  return info;
}

using testsupport::errorOf;

}  // namespace

TEST(clsPrinterInfoTest, BinsAreNumberedInThePrintersOrderAndFoundByNameIgnoringCase) {
  auto info = load(printer(QStringLiteral("Laser"), {QStringLiteral("Tray 1"), QStringLiteral("Manual Feed")}));
  EXPECT_EQ(info->DeviceName(), QStringLiteral("Laser"));
  EXPECT_EQ(info->PaperSourceNr(QStringLiteral("tray 1")), 1);
  EXPECT_EQ(info->PaperSourceNr(QStringLiteral("Manual Feed")), 2);
  EXPECT_EQ(info->PaperSourceName(2), QStringLiteral("Manual Feed"));
}

TEST(clsPrinterInfoTest, PrinterWithoutBinsHasARecordButNoBins) {
  auto info = load(printer(QStringLiteral("Plain")));
  ASSERT_TRUE(info);
  EXPECT_EQ(info->DeviceName(), QStringLiteral("Plain"));
  QString name = QStringLiteral("untouched");
  short number = 77;
  EXPECT_FALSE(info->FirstPaperSource(name, number));
  EXPECT_EQ(name, QStringLiteral("untouched"));
  EXPECT_EQ(number, 77);
  EXPECT_EQ(info->PaperSourceNr(QString()), 0);
}

TEST(clsPrinterInfoTest, UnknownNameOrNumberRaisesError5) {
  auto info = load(printer(QStringLiteral("Laser"), {QStringLiteral("Tray 1")}));
  EXPECT_EQ(errorOf([&] { info->PaperSourceName(9); }), vb::ErrInvalidCall);
  EXPECT_EQ(errorOf([&] { info->PaperSourceNr(QStringLiteral("Tray 9")); }), vb::ErrInvalidCall);
}

TEST(clsPrinterInfoTest, WalkGivesEveryBinOnceAndStaysAtTheEnd) {
  auto info = load(printer(QStringLiteral("Laser"), {QStringLiteral("A"), QStringLiteral("B")}));
  QString name;
  short number = 0;
  ASSERT_TRUE(info->FirstPaperSource(name, number));
  EXPECT_EQ(name, QStringLiteral("A"));
  EXPECT_EQ(number, 1);
  ASSERT_TRUE(info->NextPaperSource(name, number));
  EXPECT_EQ(name, QStringLiteral("B"));
  EXPECT_EQ(number, 2);
  EXPECT_FALSE(info->NextPaperSource(name, number));
  EXPECT_FALSE(info->NextPaperSource(name, number));
  EXPECT_EQ(name, QStringLiteral("B"));
  // FirstPaperSource starts the walk again.
  ASSERT_TRUE(info->FirstPaperSource(name, number));
  EXPECT_EQ(name, QStringLiteral("A"));
}

TEST(clsPrinterInfoTest, LongBinNamesAreTakenWhole) {
  const QString name24 = QStringLiteral("Fach mit 24 Zeichen Name");
  const QString name30 = QStringLiteral("Großraumfach unten, 500 Blatt!");
  ASSERT_EQ(name24.size(), 24);
  auto info = load(printer(QStringLiteral("Laser"), {name24, name30}));
  EXPECT_EQ(info->PaperSourceName(1), name24);
  EXPECT_EQ(info->PaperSourceName(2), name30);
}

TEST(clsPrinterInfoTest, DefaultPaperSourceIsTheCurrentBinOfTheFirstPrinterOfThatName) {
  const auto a = printer(QStringLiteral("Laser"), {QStringLiteral("T1"), QStringLiteral("T2")}, 2);
  const auto b = printer(QStringLiteral("LASER"), {QStringLiteral("T1")}, 1);
  auto info = load(b, {a, b});
  EXPECT_EQ(info->DefaultPaperSourceNr(), 2);

  clsPrinterInfo unknown;
  unknown.let_DeviceName(QStringLiteral("Nirgends"), {a, b});
  EXPECT_EQ(unknown.DeviceName(), QStringLiteral("Nirgends"));
  EXPECT_EQ(unknown.DefaultPaperSourceNr(), 0);
}

TEST(clsPrinterInfoTest, RepeatedBinRaises457AndLeavesBothLookUpsInStep) {
  clsPrinterInfo info;
  info.AddPaperSource(QStringLiteral("Tray 1"), 1);
  EXPECT_EQ(errorOf([&] { info.AddPaperSource(QStringLiteral("TRAY 1"), 2); }), vb::ErrDuplicateKey);
  EXPECT_EQ(errorOf([&] { info.AddPaperSource(QStringLiteral("Tray 2"), 1); }), vb::ErrDuplicateKey);
  // Neither half of a refused bin was stored.
  EXPECT_EQ(errorOf([&] { info.PaperSourceName(2); }), vb::ErrInvalidCall);
  EXPECT_EQ(errorOf([&] { info.PaperSourceNr(QStringLiteral("Tray 2")); }), vb::ErrInvalidCall);
  QString name;
  short number = 0;
  ASSERT_TRUE(info.FirstPaperSource(name, number));
  EXPECT_FALSE(info.NextPaperSource(name, number));
}

TEST(clsPrinterInfoTest, RepeatedBinOfAPrinterIsLoggedAndLeftOut) {
  enginetest::DebugLog log;
  auto info = load(printer(QStringLiteral("Laser"), {QStringLiteral("Tray"), QStringLiteral("Tray"), QStringLiteral("Manual")}));
  EXPECT_EQ(info->PaperSourceNr(QStringLiteral("Tray")), 1);
  EXPECT_EQ(info->PaperSourceNr(QStringLiteral("Manual")), 3);
  EXPECT_EQ(errorOf([&] { info->PaperSourceName(2); }), vb::ErrInvalidCall);
  const QStringList lines = log.lines();
  ASSERT_EQ(lines.size(), 1);
  EXPECT_TRUE(lines.first().startsWith(QStringLiteral("LoadPrinterOptions Laser:457-"))) << lines.first().toStdString();
}
