// `cmake --install` gives a host outside the tree the engine's libraries, headers, CMake package
// and default templates: a small host project finds them with find_package, builds and runs.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "tests/hosts/Installation.h"
#include "tests/support/TempDir.h"

namespace {

using testsupport::ausfuehren;

TEST(Installation, HostOutsideTheTreeBuildsAgainstThePackageAndCallsTheEngine) {
  testsupport::TempDir tmp;
  const QString prefix = tmp.file(QStringLiteral("prefix"));
  const auto installiert = testsupport::installieren(prefix);
  ASSERT_TRUE(installiert.ok()) << installiert.ausgabe.toStdString();

  for (const char* datei : {"include/skrivant/platform/vb/Variant.h", "include/skrivant/engine/frmDrucken.h",
                            "include/skrivant/foundation/clsConnectionHandler.h", "include/skrivant/automation/Application.h", "include/skrivant/schema/HostSchema.h",
                            "lib/libengine.a", "lib/libautomation.a", "bin/skrivant", "lib/cmake/Skrivant/SkrivantConfig.cmake",
                            "share/skrivant/templates/Rechnung.lst", "share/skrivant/templates/Etiketten.lbl",
                            "share/skrivant/templates/LEinfach.BMP", "share/skrivant/schema/host.sql",
                            "share/skrivant/schema/bookshop.sql"})
    EXPECT_TRUE(QFileInfo::exists(prefix + QLatin1Char('/') + QLatin1String(datei))) << datei;
  // The example host is the tree's own, not part of the package.
  EXPECT_FALSE(QFileInfo::exists(prefix + QStringLiteral("/include/skrivant/examples")));

  // The host's project is copied out of the tree, so anything of the tree its build uses shows.
  const QString quelle = tmp.file(QStringLiteral("quelle"));
  ASSERT_TRUE(QDir().mkpath(quelle));
  for (const char* datei : {"CMakeLists.txt", "main.cpp"})
    ASSERT_TRUE(QFile::copy(QStringLiteral(SKRIVANT_SOURCE_DIR "/tests/hosts/inprocess-host/") + QLatin1String(datei),
                            quelle + QLatin1Char('/') + QLatin1String(datei)));
  const QString bau = tmp.file(QStringLiteral("host"));
  const auto konfiguriert = ausfuehren(
      QStringLiteral(SKRIVANT_CMAKE_COMMAND),
      {QStringLiteral("-S"), quelle, QStringLiteral("-B"), bau,
       QStringLiteral("-G"), QStringLiteral(SKRIVANT_CMAKE_GENERATOR),
       QStringLiteral("-DCMAKE_CXX_COMPILER=" SKRIVANT_CXX_COMPILER), QStringLiteral("-DCMAKE_PREFIX_PATH=") + prefix});
  ASSERT_TRUE(konfiguriert.ok()) << konfiguriert.ausgabe.toStdString();
  const auto gebaut = ausfuehren(QStringLiteral(SKRIVANT_CMAKE_COMMAND), {QStringLiteral("--build"), bau});
  ASSERT_TRUE(gebaut.ok()) << gebaut.ausgabe.toStdString();
  const auto befehle = ausfuehren(QStringLiteral("grep"), {QStringLiteral("-c"), QStringLiteral(SKRIVANT_SOURCE_DIR),
                                                           bau + QStringLiteral("/build.ninja")});
  EXPECT_EQ(befehle.ausgabe.trimmed(), QStringLiteral("0")) << "the host build uses files of the source tree";

  QProcessEnvironment umgebung = QProcessEnvironment::systemEnvironment();
  umgebung.insert(QStringLiteral("XDG_DATA_HOME"), tmp.file(QStringLiteral("xdg")));
  const QString lokal = tmp.file(QStringLiteral("lokal/"));
  const auto lauf = ausfuehren(bau + QStringLiteral("/inprocess-host"), {lokal}, 60, umgebung);
  ASSERT_TRUE(lauf.ok()) << lauf.ausgabe.toStdString();
  for (const QString& zeile :
       {QStringLiteral("LokalerPfad=") + lokal, QStringLiteral("IsBesetzt=Falsch"), QStringLiteral("Betrag=1.234,50"),
        QStringLiteral("Rechnung.lst=da"),
        QStringLiteral("GetVersion= %1. %2").arg(SKRIVANT_VERSION_MAJOR).arg(SKRIVANT_VERSION_MINOR)})
    EXPECT_TRUE(lauf.ausgabe.contains(zeile + QLatin1Char('\n'))) << zeile.toStdString() << "\n" << lauf.ausgabe.toStdString();
}

}  // namespace
