#pragma once
// Skrivant.clsPrintPos: one print position (a document row) that hosts create to carry row
// values: quantity, description, VAT rate, the unit price split into material, wage, external
// service and hourly wage, and the cash-discount flag. Nothing in the engine reads it.
#include <QObject>
#include <QString>

class clsPrintPos : public QObject {
  Q_OBJECT

 public:
  Q_INVOKABLE void let_Menge(double v) { m_Menge = v; }
  Q_INVOKABLE double Menge() const { return m_Menge; }
  Q_INVOKABLE void let_Bezeichnung(const QString& v) { m_Bezeichnung = v; }
  Q_INVOKABLE QString Bezeichnung() const { return m_Bezeichnung; }
  Q_INVOKABLE void let_MwSt_Satz(double v) { m_MwSt_Satz = v; }
  Q_INVOKABLE double MwSt_Satz() const { return m_MwSt_Satz; }
  Q_INVOKABLE void let_EP_Lohn(double v) { m_EP_Lohn = v; }
  Q_INVOKABLE void let_EP_Fremdleistung(double v) { m_EP_Fremdleistung = v; }
  Q_INVOKABLE double EP_Fremdleistung() const { return m_EP_Fremdleistung; }
  Q_INVOKABLE void let_EP_StundenLohn(double v) { m_EP_StundenLohn = v; }
  Q_INVOKABLE double EP_StundenLohn() const { return m_EP_StundenLohn; }
  Q_INVOKABLE double EP_Lohn() const { return m_EP_Lohn; }
  Q_INVOKABLE void let_EP_Material(double v) { m_EP_Material = v; }
  Q_INVOKABLE double EP_Material() const { return m_EP_Material; }
  // The whole unit price becomes material; the wage share goes to 0.
  Q_INVOKABLE void let_EP(double v);
  // Material plus wage; external service and hourly wage are not part of it. Error 6 when the
  // sum overflows.
  Q_INVOKABLE double EP() const;
  Q_INVOKABLE void let_SkontoAbzugsfaehig(bool v) { m_SkontoAbzugsfaehig = v; }
  Q_INVOKABLE bool SkontoAbzugsfaehig() const { return m_SkontoAbzugsfaehig; }

 private:
  double m_Menge = 0;
  QString m_Bezeichnung;
  double m_MwSt_Satz = 0;
  double m_EP_Lohn = 0;
  double m_EP_Fremdleistung = 0;
  double m_EP_StundenLohn = 0;
  double m_EP_Material = 0;
  bool m_SkontoAbzugsfaehig = false;
};
