#include "engine/modSkrivant.h"

#include <QSet>
#include <QStringList>

#include "engine/modSystem.h"
#include "foundation/clsConnectionHandler.h"
#include "foundation/modSkrivant.h"
#include "platform/data/Connection.h"
#include "platform/data/Field.h"
#include "platform/data/Recordset.h"
#include "platform/vb/Convert.h"

namespace {

const QString kGlobal = QStringLiteral("$GLOBAL$");

std::shared_ptr<data::Recordset> openSet(const QString& sql, bool updatable, const data::Parameters& values = {}) {
  auto rs = std::make_shared<data::Recordset>();
  if (updatable)
    rs->Open(sql, vb::Variant(FormularConnection()), data::adOpenKeyset, data::adLockOptimistic, data::adCmdUnspecified,
             values);
  else
    rs->Open(sql, vb::Variant(FormularConnection()), data::adOpenForwardOnly, data::adLockReadOnly,
             data::adCmdUnspecified, values);
  return rs;
}

void setField(data::Recordset& rs, const QString& name, const vb::Variant& value) {
  rs.Fields(vb::Variant(name))->let_Value(value);
}

vb::Variant fieldValue(const data::Recordset& rs, const QString& name) {
  return rs.Fields(vb::Variant(name))->Value();
}

// The rows of one form; its number and type are bound in this order.
const QString kFormWhere = QStringLiteral("WHERE FormNummer=? AND FormStatus=?");

void addDefaultRoute(data::Recordset& rs, short FormNummer, std::int32_t FormStatus, int VonSeite, int BisSeite) {
  rs.AddNew();
  setField(rs, QStringLiteral("RechnerName"), kGlobal);
  setField(rs, QStringLiteral("FormNummer"), FormNummer);
  setField(rs, QStringLiteral("FormStatus"), FormStatus);
  setField(rs, QStringLiteral("VonExemplar"), 1);
  setField(rs, QStringLiteral("BisExemplar"), 99);
  setField(rs, QStringLiteral("VonSeite"), VonSeite);
  setField(rs, QStringLiteral("BisSeite"), BisSeite);
  setField(rs, QStringLiteral("Drucker"), QStringLiteral("Standard"));
  setField(rs, QStringLiteral("SchachtText"), QStringLiteral("Standard"));
  setField(rs, QStringLiteral("SchachtNr"), 0);
  setField(rs, QStringLiteral("LetzteSeiteZuerst"), false);
  rs.Update();
}

// Copies `columns` of the source row onto the target row, adding the target row when missing.
void copyColumns(data::Recordset& quelle, data::Recordset& ziel, const QStringList& columns, short ZielFormStatus,
                 short ZielFormNummer) {
  if (ziel.Eof()) {
    ziel.AddNew();
    setField(ziel, QStringLiteral("FormNummer"), ZielFormNummer);
    setField(ziel, QStringLiteral("FormStatus"), ZielFormStatus);
  }
  for (const QString& c : columns) setField(ziel, c, fieldValue(quelle, c));
  ziel.Update();
}

}  // namespace

std::shared_ptr<data::Connection> FormularConnection() {
  const auto handler = GetGlobalConnectList();
  if (!handler) vb::raise(vb::ErrObjectNotSet);
  return handler->SQLGruppe_Connection(4);
}

bool CreateFormular(std::int32_t FormStatus, short& FormNummer, const vb::Variant& BerichtArt) {
  const QString form = QStringLiteral(" WHERE FormNummer >0 AND FormStatus=?");
  auto rs = openSet(QStringLiteral("SELECT * FROM Auftrag_Formular_Neu") + form, true, {FormStatus});
  // A number that routes or dunning texts still name is not free: the new template would take
  // over another template's leftovers.
  auto reste = openSet(QStringLiteral("SELECT FormNummer FROM Auftrag_Formular_Druckerschacht_Neu") + form +
                           QStringLiteral(" UNION SELECT FormNummer FROM Auftrag_Formular_Mahnung") + form,
                       false, {FormStatus, FormStatus});
  QSet<int> belegt;
  for (; !rs->Eof(); rs->MoveNext()) belegt.insert(vb::CLng(fieldValue(*rs, QStringLiteral("FormNummer"))));
  for (; !reste->Eof(); reste->MoveNext()) belegt.insert(vb::CLng(fieldValue(*reste, QStringLiteral("FormNummer"))));
  reste->Close();
  int nummer = 1;
  while (belegt.contains(nummer)) {
    if (nummer == 32767) vb::raise(vb::ErrOverflow);
    ++nummer;
  }
  rs->AddNew();
  setField(*rs, QStringLiteral("FormNummer"), static_cast<std::int16_t>(nummer));
  setField(*rs, QStringLiteral("FormStatus"), FormStatus);
  setField(*rs, QStringLiteral("BerichtArt"), BerichtArt);
  rs->Update();
  rs->Close();
  FormNummer = static_cast<short>(nummer);

  auto routen = openSet(QStringLiteral("SELECT * FROM Auftrag_Formular_Druckerschacht_Neu WHERE FormNummer =? AND "
                                       "FormStatus=?"),
                        true, {FormNummer, FormStatus});
  if (routen->Eof()) {
    addDefaultRoute(*routen, FormNummer, FormStatus, 1, 1);
    addDefaultRoute(*routen, FormNummer, FormStatus, 2, 9999);
  }
  routen->Close();
  VorlagenAbgleichen();
  return true;
}

bool DeleteFormular(std::int32_t FormStatus, short FormNummer) {
  const data::Parameters form = {FormNummer, FormStatus};
  FormularConnection()->Execute(QStringLiteral("DELETE FROM Auftrag_Formular_Druckerschacht_Neu ") + kFormWhere, form);
  FormularConnection()->Execute(QStringLiteral("DELETE FROM Auftrag_Formular_Neu ") + kFormWhere, form);
  // A dunning template's level texts go with it; left behind they would belong to the next
  // template created under the same number.
  FormularConnection()->Execute(QStringLiteral("DELETE FROM Auftrag_Formular_Mahnung ") + kFormWhere, form);
  return true;
}

void CopyFormularDaten(short QuellFormStatus, short QuellFormNummer, short Flags, short ZielFormStatus,
                       short ZielFormNummer) {
  static const QStringList kTexte = {
      QStringLiteral("Absender"),          QStringLiteral("Kopftext"),        QStringLiteral("ÜberschriftText"),
      QStringLiteral("GewerkText"),        QStringLiteral("AngebotNrText"),   QStringLiteral("ProjektNrText"),
      QStringLiteral("KundenNrText"),      QStringLiteral("SachbearbeiterText"), QStringLiteral("DatumText"),
      QStringLiteral("NettoBetragText"),   QStringLiteral("MwStText"),        QStringLiteral("EndBetragText"),
      QStringLiteral("AllgemeinSchlussText"), QStringLiteral("BerichtArt")};
  static const QStringList kDatei = {QStringLiteral("Formatdatei"), QStringLiteral("AnzahlKopien")};

  const data::Parameters quellForm = {QuellFormNummer, QuellFormStatus};
  const data::Parameters zielForm = {ZielFormNummer, ZielFormStatus};
  if (Flags & (FormularKopie::Texte | FormularKopie::Formatdatei)) {
    auto quelle = openSet(QStringLiteral("SELECT * FROM Auftrag_Formular_Neu ") + kFormWhere, false, quellForm);
    auto ziel = openSet(QStringLiteral("SELECT * FROM Auftrag_Formular_Neu ") + kFormWhere, true, zielForm);
    if (!quelle->Eof()) {
      if (Flags & FormularKopie::Texte) copyColumns(*quelle, *ziel, kTexte, ZielFormStatus, ZielFormNummer);
      if (Flags & FormularKopie::Formatdatei) copyColumns(*quelle, *ziel, kDatei, ZielFormStatus, ZielFormNummer);
    }
    quelle->Close();
    ziel->Close();
  }

  const bool rechner = Flags & FormularKopie::RoutenRechner;
  const bool global = Flags & FormularKopie::RoutenGlobal;
  if (!rechner && !global) return;

  const QString routenSql = QStringLiteral("SELECT * FROM Auftrag_Formular_Druckerschacht_Neu ");
  // Read (and fetched) before the delete below, so pasting a form's routes onto itself keeps them.
  auto quelle = openSet(routenSql + kFormWhere, false, quellForm);
  if (quelle->Eof()) {
    quelle->Close();
    return;
  }
  const QString rechnerName = GetRechnerName();
  // Only the kinds the flags name are replaced; the others stay as they are.
  data::Parameters loeschen = zielForm;
  const data::Dialect& dialect = FormularConnection()->dialect();
  const auto rechnerIst = [&](const QString& wert) {
    return dialect.caseBlindEquals(QStringLiteral("RechnerName"), wert, loeschen);
  };
  const QString welche = rechner && global
                             ? QLatin1Char('(') + rechnerIst(rechnerName) + QStringLiteral(" OR ") + rechnerIst(kGlobal) + QLatin1Char(')')
                             : rechnerIst(rechner ? rechnerName : kGlobal);
  FormularConnection()->Execute(QStringLiteral("DELETE FROM Auftrag_Formular_Druckerschacht_Neu ") + kFormWhere +
                                    QStringLiteral(" AND ") + welche,
                                loeschen);

  auto ziel = openSet(routenSql + kFormWhere, true, zielForm);
  static const QStringList kRoute = {QStringLiteral("VonExemplar"), QStringLiteral("BisExemplar"),
                                     QStringLiteral("VonSeite"),    QStringLiteral("BisSeite"),
                                     QStringLiteral("Drucker"),     QStringLiteral("SchachtText"),
                                     QStringLiteral("SchachtNr"),   QStringLiteral("LetzteSeiteZuerst")};
  for (; !quelle->Eof(); quelle->MoveNext()) {
    const vb::Variant name = fieldValue(*quelle, QStringLiteral("RechnerName"));
    if (name.isNull()) continue;
    const QString n = vb::CStr(name);
    const bool gewaehlt = (rechner && vb::textEquals(n, rechnerName)) || (global && vb::textEquals(n, kGlobal));
    if (!gewaehlt) continue;
    ziel->AddNew();
    setField(*ziel, QStringLiteral("RechnerName"), name);
    setField(*ziel, QStringLiteral("FormNummer"), ZielFormNummer);
    setField(*ziel, QStringLiteral("FormStatus"), ZielFormStatus);
    for (const QString& c : kRoute) setField(*ziel, c, fieldValue(*quelle, c));
    ziel->Update();
  }
  quelle->Close();
  ziel->Close();
}

void VorlagenAbgleichen() {
  auto fehlend = openSet(
      QStringLiteral("SELECT Auftrag_Formular_Neu.FormNummer ") +
          QStringLiteral("FROM Auftrag_Formular_Neu LEFT JOIN Auftrag_Formular_Vorlagen ON "
                         "Auftrag_Formular_Neu.FormNummer = Auftrag_Formular_Vorlagen.FormularNr ") +
          QStringLiteral("GROUP BY Auftrag_Formular_Neu.FormNummer, Auftrag_Formular_Vorlagen.FormularNr ") +
          QStringLiteral("HAVING (Auftrag_Formular_Vorlagen.FormularNr Is Null)"),
      false);
  if (!fehlend->Eof()) {
    auto vorlagen = openSet(QStringLiteral("SELECT * FROM Auftrag_Formular_Vorlagen"), true);
    for (; !fehlend->Eof(); fehlend->MoveNext()) {
      const vb::Variant nummer = fehlend->Fields(vb::Variant(0))->Value();
      vorlagen->AddNew();
      setField(*vorlagen, QStringLiteral("FormularNr"), nummer);
      setField(*vorlagen, QStringLiteral("FormularText"), vb::CStr(nummer) + QStringLiteral(".Vorlage"));
      vorlagen->Update();
    }
    vorlagen->Close();
  }
  fehlend->Close();
}
