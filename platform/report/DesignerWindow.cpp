#include "platform/report/DesignerWindow.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHeaderView>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLabel>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSplitter>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <QUndoStack>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "platform/report/IReportControl.h"
#include "platform/report/PageSource.h"
#include "platform/report/PageView.h"
#include "platform/report/PropertyPanel.h"
#include "platform/ui/Dialogs.h"
#include "platform/vb/ErrorStyle.h"

namespace report {

namespace {

constexpr int kPreviewDelayMs = 500;
constexpr int kNameRole = Qt::UserRole;
const QString kValueMime = QStringLiteral("application/x-skrivant-value");

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

// The value list hands a dragged value to the page by its name.
class ValueList : public QTreeWidget {
 public:
  using QTreeWidget::QTreeWidget;

 protected:
  QStringList mimeTypes() const override { return {kValueMime, QStringLiteral("text/plain")}; }
  QMimeData* mimeData(const QList<QTreeWidgetItem*>& items) const override {
    if (items.isEmpty()) return nullptr;
    auto* data = new QMimeData;
    const QString name = items[0]->data(0, kNameRole).toString();
    data->setData(kValueMime, name.toUtf8());
    data->setText(QStringLiteral("{%1}").arg(name));
    return data;
  }
};

// Lengths are kept in hundredths of a millimetre, as the pages are laid out.
double mm(double v) { return std::round(v * 100) / 100; }

const char* rowKey(Section s) {
  switch (s) {
    case Section::Header: return "header";
    case Section::Footer: return "footer";
    default: return "rows";
  }
}

QJsonArray objectsOf(const QJsonObject& doc, const ObjectRef& list) {
  switch (list.section) {
    case Section::Page: return doc.value(QLatin1String("objects")).toArray();
    case Section::Label: return doc.value(QLatin1String("label")).toObject().value(QLatin1String("objects")).toArray();
    default: {
      const QJsonArray rows = doc.value(QLatin1String("table")).toObject().value(QLatin1String(rowKey(list.section))).toArray();
      return rows.at(list.row).toObject().value(QLatin1String("objects")).toArray();
    }
  }
}

QJsonObject withObjects(QJsonObject doc, const ObjectRef& list, const QJsonArray& objects) {
  const QString key = QStringLiteral("objects");
  switch (list.section) {
    case Section::Page:
      doc.insert(key, objects);
      break;
    case Section::Label: {
      QJsonObject label = doc.value(QLatin1String("label")).toObject();
      label.insert(key, objects);
      doc.insert(QStringLiteral("label"), label);
      break;
    }
    default: {
      QJsonObject table = doc.value(QLatin1String("table")).toObject();
      const QString rowsKey = QString::fromLatin1(rowKey(list.section));
      QJsonArray rows = table.value(rowsKey).toArray();
      QJsonObject row = rows.at(list.row).toObject();
      row.insert(key, objects);
      rows.replace(list.row, row);
      table.insert(rowsKey, rows);
      doc.insert(QStringLiteral("table"), table);
      break;
    }
  }
  return doc;
}

// Reads `text` as a template: the JSON as written and the template as it prints.
std::optional<Template> readTemplate(const QString& text, QJsonObject* doc, QString* problem) {
  if (text.trimmed().isEmpty()) {
    *problem = QStringLiteral("Die Vorlage ist leer.");
    return std::nullopt;
  }
  QJsonParseError error;
  const QJsonDocument json = QJsonDocument::fromJson(text.toUtf8(), &error);
  if (error.error != QJsonParseError::NoError) {
    const int line = int(text.left(error.offset).count(QLatin1Char('\n'))) + 1;
    *problem = QStringLiteral("Zeile %1: %2").arg(line).arg(error.errorString());
    return std::nullopt;
  }
  if (!json.isObject()) {
    *problem = QStringLiteral("Die Vorlage ist kein JSON-Objekt.");
    return std::nullopt;
  }
  auto t = Template::parse(text.toUtf8(), problem);
  if (t) *doc = json.object();
  return t;
}

DesignCanvas::Conditions conditionsOf(const QJsonObject& doc) {
  DesignCanvas::Conditions out;
  const QJsonObject table = doc.value(QLatin1String("table")).toObject();
  for (Section s : {Section::Header, Section::Rows, Section::Footer}) {
    const QJsonArray rows = table.value(QLatin1String(rowKey(s))).toArray();
    for (qsizetype i = 0; i < rows.size(); ++i)
      out.insert({int(s), int(i)}, rows[i].toObject().value(QLatin1String("when")).toString());
  }
  return out;
}

}  // namespace

// One change of the template: the whole document before and after. Edits of one property in a
// row (typing a text) merge into one step.
class DocumentCommand : public QUndoCommand {
 public:
  DocumentCommand(DesignerWindow* window, QJsonObject before, QJsonObject after, const QString& what,
                  const QString& mergeKey, bool fromText)
      : QUndoCommand(what),
        m_window(window),
        m_before(std::move(before)),
        m_after(std::move(after)),
        m_mergeKey(mergeKey),
        m_fromText(fromText) {}

  // The text the user typed is kept as typed the first time.
  void redo() override {
    m_window->applyDocument(m_after, !m_fromText);
    m_fromText = false;
  }
  void undo() override { m_window->applyDocument(m_before, true); }
  int id() const override { return m_mergeKey.isEmpty() ? -1 : 1; }
  bool mergeWith(const QUndoCommand* other) override {
    const auto* o = static_cast<const DocumentCommand*>(other);
    if (o->m_mergeKey != m_mergeKey) return false;
    m_after = o->m_after;
    return true;
  }

 private:
  DesignerWindow* m_window;
  QJsonObject m_before, m_after;
  QString m_mergeKey;
  bool m_fromText;
};

DesignerWindow::DesignerWindow(const DesignRequest& request, QWidget* parent)
    : QDialog(parent),
      m_request(request),
      m_tabs(new QTabWidget(this)),
      m_canvas(new DesignCanvas(this)),
      m_properties(new PropertyPanel(this)),
      m_problemLabel(new QLabel(this)),
      m_editor(new QPlainTextEdit(this)),
      m_values(new ValueList(this)),
      m_previewStack(new QStackedWidget(this)),
      m_view(new PageView(this)),
      m_message(new QLabel(this)),
      m_timer(new QTimer(this)),
      m_undo(new QUndoStack(this)) {
  setWindowTitle(request.title);
  setWindowFlag(Qt::WindowMaximizeButtonHint);

  auto* designPage = new QScrollArea(this);
  designPage->setObjectName(QStringLiteral("designPage"));
  designPage->setWidget(m_canvas);
  designPage->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  designPage->setBackgroundRole(QPalette::Dark);
  m_canvas->setObjectName(QStringLiteral("designCanvas"));

  auto* toolBar = new QToolBar(this);
  const auto action = [&](const char* name, const QString& text, const QKeySequence& key, auto slot) {
    QAction* a = toolBar->addAction(text);
    a->setObjectName(QString::fromLatin1(name));
    if (!key.isEmpty()) a->setShortcut(key);
    connect(a, &QAction::triggered, this, slot);
    return a;
  };
  action("saveTemplate", QStringLiteral("Speichern"), QKeySequence::Save, [this] { save(); });
  toolBar->addSeparator();
  // Undo and redo keys belong to the page; the text editor keeps its own for typing.
  QAction* undo = m_undo->createUndoAction(this, QStringLiteral("Rückgängig"));
  QAction* redo = m_undo->createRedoAction(this, QStringLiteral("Wiederholen"));
  undo->setObjectName(QStringLiteral("undo"));
  redo->setObjectName(QStringLiteral("redo"));
  for (auto [a, key] : {std::pair{undo, QKeySequence::Undo}, std::pair{redo, QKeySequence::Redo}}) {
    a->setShortcut(key);
    a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    toolBar->addAction(a);
    designPage->addAction(a);
  }
  toolBar->addSeparator();
  // The first page and the following ones carry different page objects in the same places.
  auto* shownPage = new QComboBox(this);
  shownPage->setObjectName(QStringLiteral("shownPage"));
  shownPage->addItem(QStringLiteral("erste Seite"), int(PageRule::First));
  shownPage->addItem(QStringLiteral("Folgeseiten"), int(PageRule::Following));
  connect(shownPage, &QComboBox::currentIndexChanged, this,
          [this, shownPage] { m_canvas->setShownPage(PageRule(shownPage->currentData().toInt())); });
  toolBar->addWidget(shownPage);
  action("newText", QStringLiteral("Text"), {}, [this] { addObject(QStringLiteral("text")); });
  action("newLine", QStringLiteral("Linie"), {}, [this] { addObject(QStringLiteral("line")); });
  action("newRect", QStringLiteral("Rechteck"), {}, [this] { addObject(QStringLiteral("rect")); });
  action("newPicture", QStringLiteral("Bild"), {}, [this] { addObject(QStringLiteral("picture")); });
  QAction* remove = action("deleteObjects", QStringLiteral("Löschen"), QKeySequence::Delete, [this] { deleteSelection(); });
  remove->setShortcutContext(Qt::WidgetWithChildrenShortcut);
  designPage->addAction(remove);
  toolBar->addSeparator();
  action("zoomIn", QStringLiteral("Vergrößern"), QKeySequence::ZoomIn, [this] { m_canvas->setZoom(m_canvas->zoom() * 1.25); });
  action("zoomOut", QStringLiteral("Verkleinern"), QKeySequence::ZoomOut,
         [this] { m_canvas->setZoom(m_canvas->zoom() / 1.25); });
  action("refreshPreview", QStringLiteral("Vorschau aktualisieren"), QKeySequence(Qt::Key_F5),
         &DesignerWindow::renderPreview);
  toolBar->addSeparator();
  action("closeDesigner", QStringLiteral("Schließen"), {}, &QDialog::reject);

  m_problemLabel->setObjectName(QStringLiteral("templateProblem"));
  m_problemLabel->setTextFormat(Qt::PlainText);
  m_problemLabel->setWordWrap(true);
  m_problemLabel->setStyleSheet(QStringLiteral("QLabel { background: #fff3cd; color: #6b4b00; padding: 6px; }"));
  m_problemLabel->hide();
  m_editor->setObjectName(QStringLiteral("templateEditor"));
  m_editor->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  m_editor->setLineWrapMode(QPlainTextEdit::NoWrap);
  auto* textPage = new QWidget(this);
  textPage->setObjectName(QStringLiteral("textPage"));
  auto* textLayout = new QVBoxLayout(textPage);
  textLayout->setContentsMargins(0, 0, 0, 0);
  textLayout->addWidget(m_problemLabel);
  textLayout->addWidget(m_editor, 1);

  m_tabs->setObjectName(QStringLiteral("designTabs"));
  m_tabs->addTab(designPage, QStringLiteral("Entwurf"));
  m_tabs->addTab(textPage, QStringLiteral("Text"));
  // Leaving the text takes it into the page at once.
  connect(m_tabs, &QTabWidget::currentChanged, this, [this] { syncFromText(); });

  m_values->setObjectName(QStringLiteral("valueList"));
  m_values->setRootIsDecorated(false);
  m_values->setDragEnabled(true);
  m_values->setDragDropMode(QAbstractItemView::DragOnly);
  m_values->setHeaderLabels(
      {QStringLiteral("Name"), QStringLiteral("Art"), QStringLiteral("Typ"), QStringLiteral("Beispielwert")});
  connect(m_values, &QTreeWidget::itemDoubleClicked, this, &DesignerWindow::insertSelectedValue);
  auto* insert = new QPushButton(QStringLiteral("Einfügen"), this);
  insert->setObjectName(QStringLiteral("insertValue"));
  connect(insert, &QPushButton::clicked, this, &DesignerWindow::insertSelectedValue);
  m_properties->setObjectName(QStringLiteral("propertyPanel"));
  connect(m_properties, &PropertyPanel::edited, this,
          [this](const QString& key, const QJsonValue& v) { setSelectionProperty(key, v); });

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
  left->addWidget(valuePane);
  left->addWidget(m_properties);
  left->setStretchFactor(0, 1);
  left->setStretchFactor(1, 0);
  auto* main = new QSplitter(Qt::Horizontal, this);
  main->addWidget(left);
  main->addWidget(m_tabs);
  main->addWidget(m_previewStack);
  main->setStretchFactor(0, 0);
  main->setStretchFactor(1, 3);
  main->setStretchFactor(2, 2);
  main->setSizes({300, 600, 380});

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(toolBar);
  layout->addWidget(main, 1);

  QSize size(1400, 900);
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    size = size.boundedTo(screen->availableSize() * 9 / 10);
  resize(size);

  connect(m_canvas, &DesignCanvas::selectionChanged, this, &DesignerWindow::showSelection);
  connect(m_canvas, &DesignCanvas::moveRequested, this, &DesignerWindow::moveObjects);
  connect(m_canvas, &DesignCanvas::resizeRequested, this, &DesignerWindow::resizeObject);
  connect(m_canvas, &DesignCanvas::valueDropped, this, &DesignerWindow::addValueObject);

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
  // Undo commands must not reach back into a window half gone.
  m_undo->clear();
}

void DesignerWindow::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  if (m_fitted) return;
  // The page opens as wide as its pane.
  m_fitted = true;
  const auto* area = static_cast<QScrollArea*>(m_tabs->widget(0));
  const QPointF pageCorner = m_canvas->toWidget(QPointF(m_canvas->sceneSize().width(), 0));
  const double page = pageCorner.x() - m_canvas->toWidget({0, 0}).x();
  const double available = area->viewport()->width() - area->verticalScrollBar()->sizeHint().width() -
                           2 * m_canvas->toWidget({0, 0}).x();
  if (page > 0 && available > 0) m_canvas->setZoom(m_canvas->zoom() * available / page);
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
  m_savedText = m_editor->toPlainText();
  if (!m_loadError.isEmpty()) {
    setProblem(m_loadError);
    return;
  }
  QString problem;
  QJsonObject doc;
  if (auto t = readTemplate(m_savedText, &doc, &problem)) {
    m_savedDocument = doc;
    applyDocument(doc, false);
    setProblem({});
  } else {
    setProblem(problem);
  }
}

void DesignerWindow::setProblem(const QString& problem) {
  m_problem = problem;
  m_problemLabel->setText(problem.isEmpty() ? QString()
                                            : QStringLiteral("Die Vorlage kann nicht gelesen werden: %1").arg(problem));
  m_problemLabel->setVisible(!problem.isEmpty());
  // The page shows only what the text says; while it says nothing readable it cannot be edited.
  m_tabs->setTabEnabled(0, problem.isEmpty());
  if (!problem.isEmpty()) m_tabs->setCurrentIndex(1);
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

bool DesignerWindow::isModified() const { return templateText() != m_savedText; }

bool DesignerWindow::save() {
  syncFromText();
  QSaveFile file(m_request.templatePath);
  const QString text = templateText();
  if (!file.open(QIODevice::WriteOnly) || file.write(text.toUtf8()) < 0 || !file.commit()) {
    ui::MsgBox(QStringLiteral("Die Vorlage %1 kann nicht gespeichert werden: %2")
                   .arg(m_request.templatePath, file.errorString()),
               ui::vbOKOnly | ui::vbCritical, windowTitle());
    return false;
  }
  m_savedText = text;
  m_savedDocument = isReadable() ? m_document : QJsonObject();
  m_undo->setClean();
  m_loadError.clear();
  return true;
}

void DesignerWindow::insertSelectedValue() {
  const QTreeWidgetItem* item = m_values->currentItem();
  if (!item) return;
  const QString name = item->data(0, kNameRole).toString();
  if (m_tabs->currentIndex() == 1 || !isReadable()) {
    m_editor->insertPlainText(QStringLiteral("{%1}").arg(name));
    m_editor->setFocus();
    return;
  }
  const QList<ObjectRef> sel = m_canvas->selection();
  const ObjectRef list = sel.isEmpty() ? ObjectRef{} : sel[0].list();
  addValueObject(name, m_canvas->origin(list) + newObjectPlace(list));
}

void DesignerWindow::syncFromText() {
  if (m_writingText || !m_loadError.isEmpty()) return;
  QString problem;
  QJsonObject doc;
  if (readTemplate(templateText(), &doc, &problem)) {
    setProblem({});
    if (doc != m_document)
      m_undo->push(new DocumentCommand(this, m_document, doc, QStringLiteral("Text bearbeitet"), {}, true));
  } else {
    setProblem(problem);
  }
}

void DesignerWindow::applyDocument(const QJsonObject& document, bool writeText) {
  m_document = document;
  QString problem;
  auto t = Template::parse(QJsonDocument(document).toJson(QJsonDocument::Compact), &problem);
  if (!t) return setProblem(problem);  // only a text edit can get here, and it is shown
  m_canvas->setTemplate(*t, conditionsOf(document));
  showSelection();
  if (writeText) {
    m_writingText = true;
    // Back where the file was, its text comes back as written.
    m_editor->setPlainText(document == m_savedDocument && isReadable()
                               ? m_savedText
                               : QString::fromUtf8(QJsonDocument(document).toJson(QJsonDocument::Indented)));
    m_writingText = false;
  }
}

bool DesignerWindow::edit(const QJsonObject& document, const QString& what, const QString& mergeKey, bool quietly) {
  QString problem;
  const bool valid = Template::parse(QJsonDocument(document).toJson(QJsonDocument::Compact), &problem).has_value();
  m_properties->showProblem(valid || !quietly ? QString() : problem);
  if (!valid && quietly) return false;
  if (!valid) {
    ui::MsgBox(QStringLiteral("Diese Änderung ergibt keine gültige Vorlage: %1").arg(problem),
               ui::vbOKOnly | ui::vbExclamation, windowTitle());
    showSelection();
    return false;
  }
  if (document != m_document) m_undo->push(new DocumentCommand(this, m_document, document, what, mergeKey, false));
  return true;
}

void DesignerWindow::showSelection() {
  const QList<ObjectRef> sel = m_canvas->selection();
  if (sel.isEmpty()) return m_properties->show({}, nullptr, false);
  const ObjectRef& r = sel[0];
  m_properties->show(objectsOf(m_document, r.list()).at(r.index).toObject(), m_canvas->object(r),
                     r.section == Section::Page);
}

bool DesignerWindow::moveSelection(const QPointF& delta) { return moveObjects(m_canvas->selection(), delta); }

bool DesignerWindow::moveObjects(const QList<ObjectRef>& refs, const QPointF& delta) {
  QJsonObject doc = m_document;
  for (const ObjectRef& r : refs) {
    QJsonArray list = objectsOf(doc, r.list());
    QJsonObject o = list.at(r.index).toObject();
    const auto shift = [&o](const QString& key, const QString& fallback, double d) {
      if (o.contains(key) || !fallback.isEmpty())
        o.insert(key, mm(o.value(key).toDouble(o.value(fallback).toDouble()) + d));
    };
    // A line's end moves with it; without one it sits on the start and follows anyway.
    if (o.contains(QLatin1String("x2"))) shift(QStringLiteral("x2"), {}, delta.x());
    if (o.contains(QLatin1String("y2"))) shift(QStringLiteral("y2"), {}, delta.y());
    shift(QStringLiteral("x"), QStringLiteral("x"), delta.x());
    shift(QStringLiteral("y"), QStringLiteral("y"), delta.y());
    list.replace(r.index, o);
    doc = withObjects(doc, r.list(), list);
  }
  return edit(doc, QStringLiteral("Verschieben"));
}

bool DesignerWindow::resizeObject(const ObjectRef& ref, const QSizeF& delta) {
  const DrawObject* drawn = m_canvas->object(ref);
  if (!drawn) return false;
  QJsonArray list = objectsOf(m_document, ref.list());
  QJsonObject o = list.at(ref.index).toObject();
  if (drawn->type == DrawObject::Type::Line) {
    o.insert(QStringLiteral("x2"), mm(drawn->end.x() + delta.width()));
    o.insert(QStringLiteral("y2"), mm(drawn->end.y() + delta.height()));
  } else {
    // A text that grew with its lines gets the height it is shown with.
    const double height = m_canvas->objectRect(ref).height();
    o.insert(QStringLiteral("width"), mm(qMax(1.0, drawn->box.width() + delta.width())));
    if (delta.height() != 0) o.insert(QStringLiteral("height"), mm(qMax(1.0, height + delta.height())));
  }
  list.replace(ref.index, o);
  return edit(withObjects(m_document, ref.list(), list), QStringLiteral("Größe ändern"));
}

bool DesignerWindow::setSelectionProperty(const QString& key, const QJsonValue& value) {
  const QList<ObjectRef> sel = m_canvas->selection();
  if (sel.isEmpty()) return false;
  QJsonObject doc = m_document;
  for (const ObjectRef& r : sel) {
    const DrawObject* drawn = m_canvas->object(r);
    QJsonArray list = objectsOf(doc, r.list());
    QJsonObject o = list.at(r.index).toObject();
    const bool line = drawn->type == DrawObject::Type::Line;
    if (key.startsWith(QLatin1String("font."))) {
      QJsonObject font = o.value(QLatin1String("font")).toObject();
      font.insert(key.mid(5), value);
      o.insert(QStringLiteral("font"), font);
    } else if (line && (key == QLatin1String("width") || key == QLatin1String("height"))) {
      const bool x = key == QLatin1String("width");
      o.insert(x ? QStringLiteral("x2") : QStringLiteral("y2"),
               mm((x ? drawn->box.x() : drawn->box.y()) + value.toDouble()));
    } else if (key == QLatin1String("text") && drawn->type == DrawObject::Type::Picture) {
      o.insert(QStringLiteral("source"), value);
    } else if (key == QLatin1String("when") && value.toString().trimmed().isEmpty()) {
      o.remove(key);
    } else {
      o.insert(key, value.isDouble() ? QJsonValue(mm(value.toDouble())) : value);
    }
    list.replace(r.index, o);
    doc = withObjects(doc, r.list(), list);
  }
  return edit(doc, QStringLiteral("Eigenschaft %1").arg(key), key,
              key == QLatin1String("text") || key == QLatin1String("when"));
}

QJsonObject DesignerWindow::onShownPage(QJsonObject object, const ObjectRef& list) const {
  if (list.section == Section::Page)
    object.insert(QStringLiteral("pages"), m_canvas->shownPage() == PageRule::First ? QStringLiteral("first")
                                                                                     : QStringLiteral("following"));
  return object;
}

QPointF DesignerWindow::newObjectPlace(const ObjectRef& list) const {
  // A new page object starts at the margins, one in a row or label at its corner.
  if (list.section != Section::Page) return {};
  const QRectF page = m_canvas->area(list);
  const QJsonArray margins = m_document.value(QLatin1String("page")).toObject().value(QLatin1String("margins")).toArray();
  const QPointF at = margins.size() == 4 ? QPointF(margins[0].toDouble(), margins[1].toDouble()) : QPointF(15, 15);
  return QPointF(qMax(0.0, qMin(at.x(), page.width() - 40)), qMax(0.0, qMin(at.y(), page.height() - 20)));
}

bool DesignerWindow::addObject(const QString& type) {
  if (!isReadable()) return false;
  const QList<ObjectRef> sel = m_canvas->selection();
  const ObjectRef list = sel.isEmpty() ? ObjectRef{} : sel[0].list();
  const QPointF at = newObjectPlace(list);
  QJsonObject o{{QStringLiteral("type"), type}, {QStringLiteral("x"), at.x()}, {QStringLiteral("y"), at.y()}};
  if (type == QLatin1String("text")) {
    o.insert(QStringLiteral("width"), 40);
    o.insert(QStringLiteral("text"), QStringLiteral("Text"));
  } else if (type == QLatin1String("line")) {
    o.insert(QStringLiteral("x2"), at.x() + 40);
    o.insert(QStringLiteral("y2"), at.y());
  } else {
    o.insert(QStringLiteral("width"), 40);
    o.insert(QStringLiteral("height"), 20);
    if (type == QLatin1String("picture")) o.insert(QStringLiteral("source"), QString());
  }
  QJsonArray objects = objectsOf(m_document, list);
  objects.append(onShownPage(o, list));
  if (!edit(withObjects(m_document, list, objects), QStringLiteral("Neues Objekt"))) return false;
  m_canvas->setSelection({{list.section, list.row, int(objects.size() - 1)}});
  return true;
}

bool DesignerWindow::addValueObject(const QString& name, const QPointF& pos) {
  if (!isReadable()) return false;
  const ObjectRef list = m_canvas->listAt(pos);
  const QPointF at = pos - m_canvas->origin(list);
  const auto grid = [](double v) { return std::round(v / DesignCanvas::kGrid) * DesignCanvas::kGrid; };
  QJsonArray objects = objectsOf(m_document, list);
  objects.append(onShownPage(QJsonObject{{QStringLiteral("type"), QStringLiteral("text")},
                                         {QStringLiteral("x"), grid(at.x())},
                                         {QStringLiteral("y"), grid(at.y())},
                                         {QStringLiteral("width"), 30},
                                         {QStringLiteral("text"), QStringLiteral("{%1}").arg(name)}},
                             list));
  if (!edit(withObjects(m_document, list, objects), QStringLiteral("%1 eingefügt").arg(name))) return false;
  m_canvas->setSelection({{list.section, list.row, int(objects.size() - 1)}});
  return true;
}

bool DesignerWindow::deleteSelection() {
  QList<ObjectRef> sel = m_canvas->selection();
  if (sel.isEmpty()) return false;
  // From the back, so the indexes still to go stay right.
  std::sort(sel.begin(), sel.end(), [](const ObjectRef& a, const ObjectRef& b) { return a.index > b.index; });
  QJsonObject doc = m_document;
  for (const ObjectRef& r : sel) {
    QJsonArray list = objectsOf(doc, r.list());
    list.removeAt(r.index);
    doc = withObjects(doc, r.list(), list);
  }
  m_canvas->setSelection({});
  return edit(doc, QStringLiteral("Löschen"));
}

void DesignerWindow::renderPreview() {
  m_timer->stop();
  syncFromText();
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
