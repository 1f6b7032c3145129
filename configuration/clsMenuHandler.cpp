#include "configuration/clsMenuHandler.h"

#include <QLineEdit>

#include "platform/vb/Convert.h"
#include "platform/vb/VbError.h"

void clsMenuHandler::set_TextFeld(QObject* feld) {
  auto* box = qobject_cast<QLineEdit*>(feld);
  if (feld && !box) vb::raise(vb::ErrTypeMismatch, QStringLiteral("Skrivant.clsMenuHandler"));
  m_textFeld = box;
}

void clsMenuHandler::AddMenu(QObject* mnu, const QString& Platzhalter, const QList<vb::Variant>& SichtbarBedingung) {
  m_colMenus.append({mnu, Platzhalter, SichtbarBedingung});
}

void clsMenuHandler::AddMenu(QObject* mnu, const QString& Platzhalter, const vb::Variant& SichtbarBedingung) {
  QList<vb::Variant> bedingungen;
  if (!SichtbarBedingung.isMissing() && !SichtbarBedingung.isEmpty() && !SichtbarBedingung.isNull())
    bedingungen << SichtbarBedingung;
  AddMenu(mnu, Platzhalter, bedingungen);
}

void clsMenuHandler::SetMenu() {
  const QString status = QString::number(m_curStatus);
  for (const Eintrag& e : m_colMenus) {
    if (e.bedingungen.isEmpty() || !e.mnu) continue;
    bool sichtbar = false;
    for (const vb::Variant& b : e.bedingungen) {
      if (vb::textEquals(vb::CStr(b), status)) {
        sichtbar = true;
        break;
      }
    }
    e.mnu->setProperty("visible", sichtbar);
  }
}

void clsMenuHandler::PlatzhalterEinfuegen(QObject* mnuGewaehlt) {
  if (!m_textFeld) vb::raise(vb::ErrObjectNotSet, QStringLiteral("Skrivant.clsMenuHandler"));
  if (!mnuGewaehlt) return;
  const int p = m_textFeld->hasSelectedText() ? m_textFeld->selectionStart() : m_textFeld->cursorPosition();
  for (const Eintrag& e : m_colMenus) {
    if (!e.mnu || !vb::textEquals(e.mnu->objectName(), mnuGewaehlt->objectName())) continue;
    const QString text = m_textFeld->text();
    m_textFeld->setText(text.left(p) + QLatin1Char('[') + e.PH + QLatin1Char(']') + text.mid(p, 300));
    m_textFeld->setCursorPosition(p + e.PH.size() + 2);
    return;
  }
}
