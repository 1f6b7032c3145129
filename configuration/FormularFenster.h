#pragma once
// What a setting panel of the template manager uses of the window that holds it: the text box
// into which the placeholder menu inserts, that menu itself, and the window's connection groups.
#include <memory>

class QLineEdit;
class QMenu;
class QPoint;
class QWidget;
class clsConnectionHandler;

namespace configuration {

class FormularFenster {
 public:
  virtual ~FormularFenster() = default;

  // The box the placeholder menu inserts into; a panel sets it when one of its boxes gets the focus.
  virtual void set_CurTextControl(QLineEdit* feld) = 0;
  // The placeholder menu "Platzhalter einfügen (F4)": shown in or hidden from the menu bar, and
  // opened as a popup at a point of a panel's own coordinates.
  virtual void PlatzhalterMenueZeigen(bool sichtbar) = 0;
  virtual void PlatzhalterMenueOeffnen(QWidget* panel, const QPoint& punkt) = 0;
  // The host's connection handler the window was opened with; the panels work on it alone.
  virtual std::shared_ptr<clsConnectionHandler> ConnectList() const = 0;
};

}  // namespace configuration
