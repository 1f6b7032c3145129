#pragma once
// Skrivant.clsDruckAllgemein: prints documents of generic form types (FormStatus above 999),
// whose head and detail values come from two record-set objects of the host, and declares such
// types. It owns one clsFormTypHandler, plugs it into the process's one print window before
// every output call and starts the window's handler-driven job; it holds the window from
// creation to termination (engine/Druckfenster.h).
//
// Members are reached by name; results follow the type library: empty Variants where it gives
// none, the fixed values it gives elsewhere. Errors of the window, the handler, the connections
// and the host's objects reach the host as they are raised.
#include <QObject>
#include <QString>
#include <cstdint>
#include <memory>

#include "platform/vb/ObjectVariant.h"

class clsConnectionHandler;
class clsFormTypHandler;
class frmDrucken;
class frmInfoFenster;

class clsDruckAllgemein : public QObject, public std::enable_shared_from_this<clsDruckAllgemein> {
  Q_OBJECT

 public:
  // Debug log "Debug.txt" afresh, the forms folder, the print window, the engine-wide connection
  // handler (or a new one), the handler plugged in, Clear.
  clsDruckAllgemein();
  ~clsDruckAllgemein() override;

  Q_INVOKABLE vb::ObjectVariant ConnectList() const;
  // A clsConnectionHandler of this process or Nothing; anything else is error 13.
  Q_INVOKABLE void set_ConnectList(const vb::ObjectVariant& handler);
  // Kept for the host; nothing reads it.
  Q_INVOKABLE vb::ObjectVariant Data() const { return m_Data; }
  Q_INVOKABLE void set_Data(const vb::ObjectVariant& objekt) { m_Data = vb::requireObject(objekt, QStringLiteral("Data")); }

  // Declares the form type on group 4 of ConnectList: the type row, its head (1) and detail (2)
  // fields from the host's objects, template 1 and two "$GLOBAL$" routes when the type has none.
  // All or nothing, in one transaction. Error 5 for a number outside 1000 to 32767 (below are the
  // engine's own form kinds; above, no form setting could be loaded). Result empty.
  Q_INVOKABLE vb::Variant CreateFormularTyp(std::int32_t FormTypID, const QString& Bezeichnung,
                                            const QString& Beschreibung, std::int16_t BerichtArt,
                                            const vb::ObjectVariant& objKopfDaten, const vb::ObjectVariant& objDetailDaten);
  Q_INVOKABLE void set_KopfDaten(const vb::ObjectVariant& objekt);
  Q_INVOKABLE void set_DetailDaten(const vb::ObjectVariant& objekt);
  Q_INVOKABLE bool Clear();
  Q_INVOKABLE void let_Datenverzeichnis(const QString& Pfad);
  Q_INVOKABLE QString GetVersion() const;
  Q_INVOKABLE bool IsBesetzt() const;
  // The window's exit state widened: -1 once the user aborted, 1 after a failed job, 0.
  Q_INVOKABLE std::int32_t GetExitCode() const;
  // The designer on the template file with the type's stored sample values, titled with the
  // type's Bezeichnung (list template without BerichtArt). The handler stays in design mode.
  Q_INVOKABLE vb::Variant OpenDesign(std::int32_t FormTypID, const QString& Dateiname,
                                     const vb::Variant& BerichtArt = vb::Variant::missing());
  Q_INVOKABLE vb::Variant SetAnzahlKopien(std::int16_t Anzahl);
  // Sets the window's ApplicationTitel (the job title). Always False.
  Q_INVOKABLE bool SetDokumentTitle(const QString& DokumentTitel);
  // The document into the print batch; 1 once the batch was cancelled, else 0.
  Q_INVOKABLE std::int16_t AddToDruckstapel(const QString& DruckInfo = QString());
  Q_INVOKABLE void CancelOutput() { m_blnAbbruch = true; }
  // Preview, print, and print through the report control's own start. Always 0: GetExitCode
  // tells a failed job.
  Q_INVOKABLE std::int32_t PreviewDokument() { return Ausgeben(1, false); }
  Q_INVOKABLE std::int32_t PrintDokument() { return Ausgeben(2, false); }
  Q_INVOKABLE std::int32_t LLPrintDokument() { return Ausgeben(2, true); }
  // Accepted and not used.
  Q_INVOKABLE void let_DefineVariable(const QString& FeldName, const QString& v) {
    Q_UNUSED(FeldName)
    Q_UNUSED(v)
  }
  Q_INVOKABLE vb::Variant SetFormBez(const QString& Bezeichnung);
  // Makes ConnectList the engine-wide handler, then loads form (Status, Vorlage).
  Q_INVOKABLE vb::Variant SetDruckerOptionen(std::int16_t Status, std::int16_t Vorlage);
  Q_INVOKABLE void WerteFuerEntwurfErzeugen() {}

 private:
  std::int32_t Ausgeben(std::int16_t AusgabeModus, bool direkt);
  void HandlerEinstecken();

  std::shared_ptr<frmDrucken> m_fenster;
  std::shared_ptr<clsConnectionHandler> m_ConnectList;
  std::shared_ptr<clsFormTypHandler> m_objFormTypHandler;
  std::unique_ptr<frmInfoFenster> m_InfoFenster;
  vb::Variant m_Data = vb::Variant::nothing();
  bool m_blnAbbruch = false;  // set by CancelOutput, never cleared
};
