// clsPrintPos as a host uses it, by name: fresh values, the unit price and its shares.
#include <gtest/gtest.h>

#include <limits>

#include "automation/clsPrintPos.h"
#include "platform/vb/Convert.h"
#include "tests/automation/AutomationTestSupport.h"
#include "tests/support/ErrorOf.h"

using automation::CallKind;
using automationtest::rufe;

namespace {

// Lets in order, then the reads: material, wage, unit price, external service, hourly wage.
TEST(clsPrintPos, UnitPriceIsMaterialPlusWage) {
  const double gross = std::numeric_limits<double>::max();
  const QList<std::pair<QList<std::pair<const char*, double>>, QString>> faelle = {
      {{}, QStringLiteral("0|0|0|0|0")},
      {{{"EP_Lohn", 4}, {"EP_Fremdleistung", 3}, {"EP_StundenLohn", 40}, {"EP", 10}}, QStringLiteral("10|0|10|3|40")},
      {{{"EP_Material", 10}, {"EP_Lohn", 5}, {"EP_Fremdleistung", 3}}, QStringLiteral("10|5|15|3|0")},
      {{{"EP_Material", gross}, {"EP_Lohn", gross}}, QStringLiteral("overflow")},
  };
  for (const auto& [zuweisungen, erwartet] : faelle) {
    SCOPED_TRACE(erwartet.toStdString());
    clsPrintPos pos;
    for (const auto& [member, wert] : zuweisungen) rufe(pos, member, {wert}, CallKind::Let);
    QStringList gelesen;
    if (testsupport::errorOf([&] { rufe(pos, "EP", {}, CallKind::Get); }) == 6)
      gelesen << QStringLiteral("overflow");
    else
      for (const char* member : {"EP_Material", "EP_Lohn", "EP", "EP_Fremdleistung", "EP_StundenLohn"})
        gelesen << vb::CStr(rufe(pos, member, {}, CallKind::Get));
    EXPECT_EQ(gelesen.join('|'), erwartet);
  }
}

TEST(clsPrintPos, PlainValuesComeBackAsTheyWereLet) {
  clsPrintPos pos;
  EXPECT_EQ(rufe(pos, "SkontoAbzugsfähig", {}, CallKind::Get), vb::Variant(false));
  EXPECT_EQ(rufe(pos, "Bezeichnung", {}, CallKind::Get), vb::Variant(QString()));
  rufe(pos, "Menge", {QStringLiteral("2,5")}, CallKind::Let);
  rufe(pos, "Bezeichnung", {"Fliesen"}, CallKind::Let);
  rufe(pos, "MwSt_Satz", {0.19}, CallKind::Let);
  rufe(pos, "SkontoAbzugsfaehig", {-1}, CallKind::Let);
  QStringList gelesen;
  for (const char* member : {"Menge", "Bezeichnung", "MwSt_Satz", "skontoabzugsfähig"})
    gelesen << vb::CStr(rufe(pos, member, {}, CallKind::Get));
  EXPECT_EQ(gelesen.join('|'), QStringLiteral("2,5|Fliesen|0,19|Wahr"));
}

}  // namespace
