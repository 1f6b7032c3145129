// clsPrintPos as a host uses it: by name, the unit price and its shares.
#include <gtest/gtest.h>

#include <limits>

#include "automation/clsPrintPos.h"
#include "platform/automation/LateBinding.h"
#include "platform/vb/Convert.h"
#include "tests/support/ErrorOf.h"

using automation::CallKind;
using automation::callByName;

namespace {

struct Zuweisung {
  const char* member;
  vb::Variant wert;
};

struct EpFall {
  const char* name;
  QList<Zuweisung> zuweisungen;
  double material, lohn, ep;
};

double lies(clsPrintPos& pos, const char* member) {
  return vb::CDbl(callByName(pos, QString::fromUtf8(member), CallKind::Get));
}

TEST(clsPrintPos, FreshObjectReadsZeroEmptyAndFalse) {
  clsPrintPos pos;
  for (const char* member : {"Menge", "MwSt_Satz", "EP_Lohn", "EP_Fremdleistung", "EP_StundenLohn", "EP_Material", "EP"})
    EXPECT_EQ(lies(pos, member), 0) << member;
  EXPECT_EQ(callByName(pos, QStringLiteral("Bezeichnung"), CallKind::Get), vb::Variant(QString()));
  EXPECT_EQ(callByName(pos, QStringLiteral("SkontoAbzugsfähig"), CallKind::Get), vb::Variant(false));
}

TEST(clsPrintPos, UnitPriceIsMaterialPlusWage) {
  const QList<EpFall> faelle = {
      {"EP let puts it all into material", {{"EP_Lohn", 4.0}, {"EP", 10.0}}, 10, 0, 10},
      {"material and wage add up", {{"EP_Material", 10.0}, {"EP_Lohn", 5.0}}, 10, 5, 15},
      {"external service and hourly wage are no part of it",
       {{"EP_Material", 10.0}, {"EP_Lohn", 5.0}, {"EP_Fremdleistung", 3.0}, {"EP_StundenLohn", 40.0}},
       10, 5, 15},
  };
  for (const EpFall& fall : faelle) {
    SCOPED_TRACE(fall.name);
    clsPrintPos pos;
    for (const Zuweisung& z : fall.zuweisungen) callByName(pos, QString::fromUtf8(z.member), CallKind::Let, {z.wert});
    EXPECT_EQ(lies(pos, "EP_Material"), fall.material);
    EXPECT_EQ(lies(pos, "EP_Lohn"), fall.lohn);
    EXPECT_EQ(lies(pos, "EP"), fall.ep);
  }
  // EP let leaves external service and hourly wage as they are.
  clsPrintPos pos;
  callByName(pos, QStringLiteral("EP_Fremdleistung"), CallKind::Let, {3.0});
  callByName(pos, QStringLiteral("EP_StundenLohn"), CallKind::Let, {40.0});
  callByName(pos, QStringLiteral("EP"), CallKind::Let, {1.0});
  EXPECT_EQ(lies(pos, "EP_Fremdleistung"), 3);
  EXPECT_EQ(lies(pos, "EP_StundenLohn"), 40);
}

TEST(clsPrintPos, OverflowingUnitPriceIsError6AndTheOtherValuesKeep) {
  clsPrintPos pos;
  const double gross = std::numeric_limits<double>::max();
  callByName(pos, QStringLiteral("EP_Material"), CallKind::Let, {gross});
  callByName(pos, QStringLiteral("EP_Lohn"), CallKind::Let, {gross});
  EXPECT_EQ(testsupport::errorOf([&] { callByName(pos, QStringLiteral("EP"), CallKind::Get); }), 6);
  EXPECT_EQ(lies(pos, "EP_Material"), gross);

  callByName(pos, QStringLiteral("Menge"), CallKind::Let, {QStringLiteral("2,5")});
  callByName(pos, QStringLiteral("Bezeichnung"), CallKind::Let, {QStringLiteral("Fliesen")});
  callByName(pos, QStringLiteral("MwSt_Satz"), CallKind::Let, {0.19});
  callByName(pos, QStringLiteral("SkontoAbzugsfaehig"), CallKind::Let, {-1});
  EXPECT_EQ(lies(pos, "Menge"), 2.5);
  EXPECT_EQ(vb::CStr(callByName(pos, QStringLiteral("Bezeichnung"), CallKind::Get)), QStringLiteral("Fliesen"));
  EXPECT_EQ(lies(pos, "MwSt_Satz"), 0.19);
  EXPECT_TRUE(vb::CBool(callByName(pos, QStringLiteral("skontoabzugsfähig"), CallKind::Get)));
}

}  // namespace
