#pragma once
// The batch progress window: program version, one line of progress text set by the owner per
// document, and a button that asks the owner to stop the batch (its CancelOutput, called by name).
// The owner creates the window, shows it modeless, assigns itself to Parent and unloads the
// window when its batch is output or it ends.
#include <QPointer>
#include <QWidget>

class QLabel;

class frmInfoFenster : public QWidget {
  Q_OBJECT

 public:
  explicit frmInfoFenster(QWidget* parent = nullptr);
  // The window's termination: logs "->InfoFensterterminate", lets go of Parent, logs
  // "InfoFensterterminate->".
  ~frmInfoFenster() override;

  // Shows `Wert` as the progress line and lets pending window events run once, so the text is
  // painted and a click on the cancel button made meanwhile is handled.
  void SetInfoText(const QString& Wert);

  // The owner. The window does not keep it alive (the owner holds the window, not the other way
  // round); an owner destroyed first reads back as nullptr.
  QObject* Parent() const { return m_parent; }
  void set_Parent(QObject* owner) { m_parent = owner; }

 private:
  void cmdCancel_Click();

  QLabel* m_strInfo;
  QPointer<QObject> m_parent;
};
