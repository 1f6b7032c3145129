#pragma once
// Skrivant.clsMenuHandler: the placeholder entries of the template manager's popup menu. Which
// menu item inserts which key "[KEY]" into the text box that has the placeholder focus, and for
// which form types an item is shown. The template manager owns one and registers its items on
// every load of a template; only that window uses it.
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <cstdint>

#include "platform/vb/Variant.h"

#include <QLineEdit>

class clsMenuHandler : public QObject {
  Q_OBJECT

 public:
  clsMenuHandler() = default;

  // The text box that receives placeholders (a QLineEdit; anything else is error 13).
  Q_INVOKABLE void set_TextFeld(QObject* feld);
  void setTextFeld(QLineEdit* feld) { m_textFeld = feld; }
  // Forgets every registered entry.
  Q_INVOKABLE void Init() { m_colMenus.clear(); }
  // The form status whose entries SetMenu shows.
  Q_INVOKABLE void let_CurStatus(std::int16_t status) { m_curStatus = status; }
  // Registers menu item `mnu` (its objectName is its name) as inserting `Platzhalter`, shown
  // only for the form statuses in `SichtbarBedingung` (always left as it is when empty).
  void AddMenu(QObject* mnu, const QString& Platzhalter, const QList<vb::Variant>& SichtbarBedingung = {});
  // The same for a caller by name. The automation types carry no arrays: the condition is one
  // value, or none when it is left out, Empty or Null.
  Q_INVOKABLE void AddMenu(QObject* mnu, const QString& Platzhalter, const vb::Variant& SichtbarBedingung);
  // Sets every entry with conditions visible exactly when one condition equals CurStatus (as text).
  Q_INVOKABLE void SetMenu();
  // Inserts the placeholder of the entry registered for the chosen item at the start of the
  // selection (the caret when nothing is selected): the text before it, "[KEY]", then at most 300
  // characters from there on, the selected text kept; the caret ends after "]". An item without
  // an entry changes nothing. Error 91 without a text box.
  Q_INVOKABLE void PlatzhalterEinfuegen(QObject* mnuGewaehlt);

 private:
  struct Eintrag {
    QPointer<QObject> mnu;
    QString PH;
    QList<vb::Variant> bedingungen;
  };
  QList<Eintrag> m_colMenus;
  QPointer<QLineEdit> m_textFeld;
  std::int16_t m_curStatus = 0;
};
