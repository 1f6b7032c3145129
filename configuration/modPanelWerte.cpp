#include "configuration/modPanelWerte.h"

#include "configuration/FormularFenster.h"

#include <QEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPoint>
#include <QScopeGuard>

#include "foundation/modSkrivant.h"
#include "foundation/modUtils.h"
#include "platform/data/Recordset.h"
#include "platform/ui/Dialogs.h"
#include "platform/vb/Convert.h"
#include "platform/vb/ErrorStyle.h"

namespace configuration {

QString SpaltenText(data::Recordset& rs, const QString& spalte) {
  return vb::CStr(NZ(rs.Fields(vb::Variant(spalte))->Value()));
}

bool TextSpeichern(data::Recordset& rs, const QString& spalte, const QString& text, const QString& beschriftung,
                   int hoechstens) {
  if (hoechstens > 0 && text.size() > hoechstens) {
    ui::MsgBox(QStringLiteral("Der Text im Feld \"%1\" ist %2 Zeichen lang; gespeichert werden höchstens %3 "
                              "Zeichen. Der bisher gespeicherte Text bleibt erhalten.")
                   .arg(beschriftung)
                   .arg(text.size())
                   .arg(hoechstens),
               ui::vbExclamation);
    return false;
  }
  rs.Fields(vb::Variant(spalte))->let_Value(vb::Variant(text));
  return true;
}

void MitVerbindungen(const std::shared_ptr<clsConnectionHandler>& handler, const std::function<void()>& arbeit) {
  const auto vorher = GetGlobalConnectList();
  SetGlobalConnectList(handler);
  const auto zurueck = qScopeGuard([&] {
    if (GetGlobalConnectList() == handler) SetGlobalConnectList(vorher);
  });
  arbeit();
}

bool Aktion(const std::function<void()>& arbeit, const QString& einleitung) {
  try {
    arbeit();
    return true;
  } catch (...) {
    const vb::VbError e = vb::toVbError(std::current_exception());
    const QString fehler = QStringLiteral("Fehler %1: %2").arg(e.number()).arg(e.description());
    ui::MsgBox(einleitung.isEmpty() ? fehler : einleitung + u'\n' + fehler, ui::vbCritical);
    return false;
  }
}

void PlatzhalterEreignis(FormularFenster& fenster, QWidget& panel, QLineEdit& feld, const QEvent& event,
                         bool menueZeigen) {
  switch (event.type()) {
    case QEvent::FocusIn:
      Aktion([&] {
        fenster.set_CurTextControl(&feld);
        if (menueZeigen) fenster.PlatzhalterMenueZeigen(true);
      });
      break;
    case QEvent::FocusOut:
      // The window may be closing.
      vb::ignoreErrors([&fenster] { fenster.PlatzhalterMenueZeigen(false); });
      break;
    case QEvent::KeyRelease:
      if (static_cast<const QKeyEvent&>(event).key() == Qt::Key_F4) {
        const QPoint links = feld.mapTo(&panel, QPoint(0, 0));
        const int breite = QFontMetrics(feld.font()).horizontalAdvance(feld.text().left(feld.cursorPosition()));
        Aktion([&] { fenster.PlatzhalterMenueOeffnen(&panel, QPoint(links.x() + 10 + breite, links.y() + feld.height() / 2)); });
      }
      break;
    default:
      break;
  }
}

}  // namespace configuration
