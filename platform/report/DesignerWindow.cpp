#include "platform/report/DesignerWindow.h"

#include <QAction>
#include <QFile>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QScreen>
#include <QSplitter>
#include <QStackedWidget>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "platform/report/IReportControl.h"
#include "platform/report/PageSource.h"
#include "platform/report/PageView.h"
#include "platform/ui/Dialogs.h"
#include "platform/vb/ErrorStyle.h"

namespace report {

namespace {

constexpr int kPreviewDelayMs = 500;
constexpr int kNameRole = Qt::UserRole;

QString typeName(int type) {
  if (type & kTypeDrawing) return QStringLiteral("Zeichnung");
  if (type & kTypeText) return QStringLiteral("Text");
  if (type & kTypeNumeric) return QStringLiteral("Zahl");
  if (type & kTypeDate) return QStringLiteral("Datum");
  if (type & kTypeBoolean) return QStringLiteral("Ja/Nein");
  if (type & kTypeRichText) return QStringLiteral("RTF-Text");
  return QStringLiteral("Text");
}

// One line of the sample value for the list; the whole value is the tool tip.
QString sampleLine(const QString& contents) {
  QString line = contents.simplified();
  if (line.size() > 80) line = line.left(79) + QChar(0x2026);
  return line;
}

}  // namespace

DesignerWindow::DesignerWindow(const DesignRequest& request, QWidget* parent)
    : QDialog(parent),
      m_request(request),
      m_editor(new QPlainTextEdit(this)),
      m_values(new QTreeWidget(this)),
      m_previewStack(new QStackedWidget(this)),
      m_view(new PageView(this)),
      m_message(new QLabel(this)),
      m_timer(new QTimer(this)) {
  setWindowTitle(request.title);
  setWindowFlag(Qt::WindowMaximizeButtonHint);

  auto* toolBar = new QToolBar(this);
  QAction* save = toolBar->addAction(QStringLiteral("Speichern"));
  save->setObjectName(QStringLiteral("saveTemplate"));
  save->setShortcut(QKeySequence::Save);
  connect(save, &QAction::triggered, this, [this] { this->save(); });
  QAction* refresh = toolBar->addAction(QStringLiteral("Vorschau aktualisieren"));
  refresh->setObjectName(QStringLiteral("refreshPreview"));
  refresh->setShortcut(QKeySequence(Qt::Key_F5));
  connect(refresh, &QAction::triggered, this, &DesignerWindow::renderPreview);
  toolBar->addSeparator();
  QAction* close = toolBar->addAction(QStringLiteral("Schließen"));
  close->setObjectName(QStringLiteral("closeDesigner"));
  connect(close, &QAction::triggered, this, &QDialog::reject);

  m_editor->setObjectName(QStringLiteral("templateEditor"));
  m_editor->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  m_editor->setLineWrapMode(QPlainTextEdit::NoWrap);

  m_values->setObjectName(QStringLiteral("valueList"));
  m_values->setRootIsDecorated(false);
  m_values->setHeaderLabels(
      {QStringLiteral("Name"), QStringLiteral("Art"), QStringLiteral("Typ"), QStringLiteral("Beispielwert")});
  connect(m_values, &QTreeWidget::itemDoubleClicked, this, &DesignerWindow::insertSelectedValue);
  auto* insert = new QPushButton(QStringLiteral("Einfügen"), this);
  insert->setObjectName(QStringLiteral("insertValue"));
  connect(insert, &QPushButton::clicked, this, &DesignerWindow::insertSelectedValue);

  auto* valuePane = new QWidget(this);
  auto* valueLayout = new QVBoxLayout(valuePane);
  valueLayout->setContentsMargins(0, 0, 0, 0);
  valueLayout->addWidget(m_values, 1);
  valueLayout->addWidget(insert, 0, Qt::AlignRight);

  m_view->setObjectName(QStringLiteral("previewView"));
  m_message->setObjectName(QStringLiteral("previewMessage"));
  m_message->setTextFormat(Qt::PlainText);
  m_message->setWordWrap(true);
  m_message->setAlignment(Qt::AlignCenter);
  m_message->setMargin(12);
  m_previewStack->addWidget(m_view);
  m_previewStack->addWidget(m_message);

  auto* left = new QSplitter(Qt::Vertical, this);
  left->addWidget(m_editor);
  left->addWidget(valuePane);
  left->setStretchFactor(0, 3);
  left->setStretchFactor(1, 2);
  auto* main = new QSplitter(Qt::Horizontal, this);
  main->addWidget(left);
  main->addWidget(m_previewStack);
  main->setStretchFactor(0, 1);
  main->setStretchFactor(1, 1);
  main->setSizes({1, 1});  // the editor gets half the width, not what its hint asks

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(toolBar);
  layout->addWidget(main, 1);

  QSize size(1280, 900);
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    size = size.boundedTo(screen->availableSize() * 9 / 10);
  resize(size);

  loadTemplate();
  fillValueList();

  // The preview follows the text once the user pauses, not at every key.
  m_timer->setObjectName(QStringLiteral("previewTimer"));
  m_timer->setSingleShot(true);
  m_timer->setInterval(kPreviewDelayMs);
  connect(m_timer, &QTimer::timeout, this, &DesignerWindow::renderPreview);
  connect(m_editor, &QPlainTextEdit::textChanged, m_timer, qOverload<>(&QTimer::start));
  renderPreview();
}

DesignerWindow::~DesignerWindow() {
  // The view must not keep pointing at the pages while they go.
  m_view->setPages(nullptr);
}

void DesignerWindow::loadTemplate() {
  QFile file(m_request.templatePath);
  if (file.exists()) {
    if (file.open(QIODevice::ReadOnly)) {
      m_editor->setPlainText(QString::fromUtf8(file.readAll()));
    } else {
      m_loadError = QStringLiteral("Die Vorlage %1 kann nicht gelesen werden: %2")
                        .arg(m_request.templatePath, file.errorString());
    }
  }
  m_editor->document()->setModified(false);
}

void DesignerWindow::fillValueList() {
  const auto add = [this](const QList<DefinedValue>& values, const QString& kind) {
    for (const DefinedValue& v : values) {
      auto* item = new QTreeWidgetItem(m_values, {v.name, kind, typeName(v.type), sampleLine(v.contents)});
      item->setData(0, kNameRole, v.name);
      item->setToolTip(3, v.contents);
    }
  };
  add(m_request.variables, QStringLiteral("Variable"));
  add(m_request.fields, QStringLiteral("Feld"));
  m_values->header()->resizeSections(QHeaderView::ResizeToContents);
  if (m_values->topLevelItemCount() > 0) m_values->setCurrentItem(m_values->topLevelItem(0));
}

QString DesignerWindow::templateText() const { return m_editor->toPlainText(); }

bool DesignerWindow::isModified() const { return m_editor->document()->isModified(); }

bool DesignerWindow::save() {
  QSaveFile file(m_request.templatePath);
  if (!file.open(QIODevice::WriteOnly) || file.write(templateText().toUtf8()) < 0 || !file.commit()) {
    ui::MsgBox(QStringLiteral("Die Vorlage %1 kann nicht gespeichert werden: %2")
                   .arg(m_request.templatePath, file.errorString()),
               ui::vbOKOnly | ui::vbCritical, windowTitle());
    return false;
  }
  m_editor->document()->setModified(false);
  m_loadError.clear();
  return true;
}

void DesignerWindow::insertSelectedValue() {
  const QTreeWidgetItem* item = m_values->currentItem();
  if (!item) return;
  m_editor->insertPlainText(QStringLiteral("{%1}").arg(item->data(0, kNameRole).toString()));
  m_editor->setFocus();
}

void DesignerWindow::renderPreview() {
  m_timer->stop();
  if (!m_loadError.isEmpty()) {
    showPreviewMessage(m_loadError);
    return;
  }
  QString error;
  std::unique_ptr<PageSource> pages;
  if (m_request.render) {
    // A template in the middle of an edit is often broken; that must never end the designer.
    const auto failed = vb::ignoreErrors([&] { pages = m_request.render(templateText().toUtf8(), &error); });
    if (failed) error = failed->description();
  }
  if (!pages) {
    showPreviewMessage(error.isEmpty() ? QStringLiteral("Für diese Vorlage gibt es keine Vorschau.")
                                       : QStringLiteral("Die Vorschau kann nicht gezeigt werden:\n%1").arg(error));
    return;
  }
  // The view lets go of the old pages before they are freed.
  m_view->setPages(pages.get());
  m_pages = std::move(pages);
  m_previewStack->setCurrentWidget(m_view);
}

void DesignerWindow::showPreviewMessage(const QString& message) {
  m_view->setPages(nullptr);
  m_pages.reset();
  m_message->setText(message);
  m_previewStack->setCurrentWidget(m_message);
}

void DesignerWindow::done(int result) {
  if (isModified()) {
    const int answer = ui::MsgBox(QStringLiteral("Sollen die Änderungen an der Vorlage gespeichert werden?"),
                                  ui::vbYesNoCancel | ui::vbQuestion, windowTitle());
    if (answer == ui::vbCancel) return;
    if (answer == ui::vbYes && !save()) return;
  }
  m_timer->stop();
  QDialog::done(result);
}

}  // namespace report
