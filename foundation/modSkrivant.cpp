#include "foundation/modSkrivant.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QStandardPaths>

#include "foundation/modDebugOutput.h"
#include "foundation/modUtils.h"
#include "platform/vb/Convert.h"
#include "platform/vb/ErrorStyle.h"
#include "platform/vb/FolderClaim.h"
#include "platform/vb/Format.h"
#include "platform/vb/PathResolver.h"

namespace {

const QString kDatenToken = QStringLiteral("$Daten$");

struct ModuleState {
  QString lokalerPfad;
  QString datenverzeichnis;
  std::shared_ptr<clsConnectionHandler> globalConnectList;
  bool gestaltungBeendet = false;
};

ModuleState& state() {
  static ModuleState s;
  return s;
}

}  // namespace

void SetLokalerPfad(const QString& Pfad) {
  QString p = Pfad.trimmed();
  // A blank path would turn into "\", the root of the file system; keep the default instead.
  if (!p.isEmpty() && !p.endsWith(QLatin1Char('\\')) && !p.endsWith(QLatin1Char('/'))) p += QLatin1Char('\\');
  state().lokalerPfad = p;
}

QString GetLokalerPfad() {
  if (!state().lokalerPfad.isEmpty()) return state().lokalerPfad;
  // The program's folder is not writable here; the per-user data folder takes its place.
  const QString dir = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
  QDir().mkpath(dir);
  return dir + QLatin1Char('/');
}

QString GetFormularPfad() { return GetLokalerPfad() + QStringLiteral("Formular"); }

QString GetProzessOrdner(bool anlegen) {
  static QHash<QString, QString> ordner;
  const QString lokal = GetLokalerPfad();
  if (const auto it = ordner.constFind(lokal); it != ordner.constEnd()) return *it;
  const QString echt = vb::resolvePath(lokal);
  if (!QFileInfo(echt).isDir()) return lokal;
  QString eigen = lokal;
  if (!vb::claimFolder(echt)) {
    if (!anlegen) return {};
    eigen = vb::makeClaimedFolder(echt, ProzessOrdnerPraefix);
    // A folder that cannot be made leaves the local path shared, as it always was.
    if (eigen.isEmpty()) eigen = lokal;
  }
  ordner.insert(lokal, eigen);
  return eigen;
}

void CreateFormularPfad() {
  const QString pfad = GetFormularPfad();
  if (VerzeichnisExistiert(pfad)) return;
  const QString real = vb::resolvePath(pfad);
  const QFileInfo info(real);
  if (QDir(info.absolutePath()).mkdir(info.fileName())) return;
  const long number = QFileInfo(info.absolutePath()).isDir() ? 75L : static_cast<long>(vb::ErrPathNotFound);
  DebugOutput(QStringLiteral("%1: %2").arg(number).arg(vb::standardErrorText(number)));
}

QString FormatDatum(const vb::Variant& Wert) {
  if (Wert.isNull()) return {};
  QString text;
  vb::ignoreErrors([&] { text = vb::formatDate(vb::CDate(Wert), QStringLiteral("dd.mm.yyyy")); });
  return text;
}

void SetDatenverzeichnis(const QString& Datenverzeichnis) { state().datenverzeichnis = Datenverzeichnis; }

QString GetDatenverzeichnis() { return state().datenverzeichnis; }

QString ExpandDatenPfad(const QString& Pfad) { return vb::replaceText(Pfad, kDatenToken, state().datenverzeichnis); }

QString CollapseDatenPfad(const QString& Pfad) {
  if (state().datenverzeichnis.isEmpty()) return Pfad;
  return vb::replaceText(Pfad, state().datenverzeichnis, kDatenToken);
}

void SetGlobalConnectList(std::shared_ptr<clsConnectionHandler> handler) {
  state().globalConnectList = std::move(handler);
  // A host that never clears the slot: its connections are let go while the application object
  // is still there, not in static destruction.
  static bool releaseRegistered = false;
  if (state().globalConnectList && !releaseRegistered && QCoreApplication::instance()) {
    releaseRegistered = true;
    qAddPostRoutine([] {
      releaseRegistered = false;
      state().globalConnectList.reset();
    });
  }
}

std::shared_ptr<clsConnectionHandler> GetGlobalConnectList() { return state().globalConnectList; }

void SetGestaltungBeendet(bool beendet) { state().gestaltungBeendet = beendet; }

bool GetGestaltungBeendet() { return state().gestaltungBeendet; }
