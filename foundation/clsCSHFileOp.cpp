#include "foundation/clsCSHFileOp.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProgressDialog>
#include <memory>

#include "platform/ui/Dialogs.h"
#include "platform/vb/PathResolver.h"
#include "platform/vb/VbError.h"

namespace {

// The component error base plus 1000, as callers of the shell operation know it.
constexpr long kNoSourceError = -2147220504;
// Free copy names tried before giving up on a collision.
constexpr int kMaxCopyNames = 1000;

bool hasWildcard(const QString& name) {
  return name.contains(QLatin1Char('*')) || name.contains(QLatin1Char('?'));
}

bool existsOrLink(const QString& path) {
  const QFileInfo info(path);
  return info.exists() || info.isSymLink();
}

bool isRealDir(const QString& path) {
  const QFileInfo info(path);
  return info.isDir() && !info.isSymLink();
}

bool removeItem(const QString& path) {
  return isRealDir(path) ? QDir(path).removeRecursively() : QFile::remove(path);
}

// Folders are copied with everything in them; a link is copied as a link, never followed.
bool copyItem(const QString& from, const QString& to) {
  const QFileInfo info(from);
  if (info.isSymLink()) return QFile::link(info.symLinkTarget(), to);
  if (!info.isDir()) return QFile::copy(from, to);
  if (!QDir().mkpath(to)) return false;
  const QFileInfoList entries =
      QDir(from).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
  for (const QFileInfo& e : entries)
    if (!copyItem(e.filePath(), QDir(to).filePath(e.fileName()))) return false;
  return true;
}

bool moveItem(const QString& from, const QString& to) {
  if (QDir().rename(from, to)) return true;
  // Another file system: copy, then remove the original.
  return copyItem(from, to) && removeItem(from);
}

// "Kopie von x", "Kopie (2) von x", ... in the target's folder; "" when none is free.
QString freeCopyName(const QString& target) {
  const QFileInfo info(target);
  for (int n = 1; n <= kMaxCopyNames; ++n) {
    const QString prefix = n == 1 ? QStringLiteral("Kopie von ") : QStringLiteral("Kopie (%1) von ").arg(n);
    const QString candidate = info.dir().filePath(prefix + info.fileName());
    if (!existsOrLink(candidate)) return candidate;
  }
  return {};
}

QString operationTitle(int op) {
  switch (op) {
    case 1: return QStringLiteral("Verschieben");
    case 2: return QStringLiteral("Kopieren");
    case 3: return QStringLiteral("Löschen");
    default: return QStringLiteral("Umbenennen");
  }
}

// The progress window, shown through the ui layer unless the operation is silent.
class Progress {
 public:
  Progress(bool silent, const QString& customText, int op, int total) : m_simple(!customText.isEmpty()) {
    if (silent) return;
    m_dialog = std::make_unique<QProgressDialog>();
    m_dialog->setWindowTitle(m_simple ? customText : operationTitle(op));
    m_dialog->setCancelButtonText(QStringLiteral("Abbrechen"));
    m_dialog->setRange(0, total);
    ui::dialogs().showWindow(*m_dialog, QStringLiteral("fileop"));
  }

  // False once the user cancelled.
  bool step(int done, const QString& item) {
    if (!m_dialog) return true;
    if (!m_simple) m_dialog->setLabelText(QFileInfo(item).fileName());
    m_dialog->setValue(done);
    QCoreApplication::processEvents();
    return !m_dialog->wasCanceled();
  }

 private:
  bool m_simple;
  std::unique_ptr<QProgressDialog> m_dialog;
};

}  // namespace

bool clsCSHFileOp::MoveFiles() { return ExecuteFileOp(Operation::Move); }
bool clsCSHFileOp::CopyFiles() { return ExecuteFileOp(Operation::Copy); }
bool clsCSHFileOp::DeleteFiles() { return ExecuteFileOp(Operation::Delete); }
bool clsCSHFileOp::RenameFiles() { return ExecuteFileOp(Operation::Rename); }

bool clsCSHFileOp::ExecuteFileOp(Operation op) {
  if (m_sources.isEmpty())
    vb::raise(kNoSourceError, QStringLiteral("clsCSHFileOp"), QStringLiteral("No source files specified file operation"));
  const QStringList sources = expandSources();
  if (sources.isEmpty()) return false;
  for (const QString& s : sources)
    if (!existsOrLink(s)) return false;

  QStringList targets;
  if (op == Operation::Delete) {
    if (m_confirmOperation) {
      const QString what = sources.size() == 1 ? QStringLiteral("\"%1\"").arg(QFileInfo(sources[0]).fileName())
                                               : QStringLiteral("diese %1 Elemente").arg(sources.size());
      const QString question = m_allowUndo ? QStringLiteral("Möchten Sie %1 wirklich in den Papierkorb verschieben?")
                                           : QStringLiteral("Möchten Sie %1 wirklich löschen?");
      if (ui::MsgBox(question.arg(what), ui::vbYesNo | ui::vbQuestion) != ui::vbYes) return false;
    }
  } else if (!targetsFor(op, sources, targets)) {
    return false;
  }

  Progress progress(m_silentMode, m_customText, static_cast<int>(op), static_cast<int>(sources.size()));
  for (qsizetype i = 0; i < sources.size(); ++i) {
    if (!progress.step(static_cast<int>(i), sources[i])) return false;
    const Outcome outcome = op == Operation::Delete ? remove(sources[i]) : transfer(op, sources[i], targets[i]);
    if (outcome == Outcome::Failed || outcome == Outcome::Aborted) return false;
  }
  return progress.step(static_cast<int>(sources.size()), {});
}

QStringList clsCSHFileOp::expandSources() const {
  QStringList out;
  for (const QString& entry : m_sources) {
    const QString real = vb::resolvePath(entry);
    const QFileInfo info(real);
    if (!hasWildcard(info.fileName())) {
      out << real;
      continue;
    }
    QDir::Filters filters = QDir::Files | QDir::Hidden | QDir::System;
    if (m_includeDirectories) filters |= QDir::Dirs | QDir::NoDotAndDotDot;
    for (const QFileInfo& match : info.dir().entryInfoList({info.fileName()}, filters, QDir::Name | QDir::IgnoreCase))
      out << match.filePath();
  }
  return out;
}

bool clsCSHFileOp::targetsFor(Operation op, const QStringList& sources, QStringList& targets) {
  if (m_dests.isEmpty()) return false;
  if (op == Operation::Rename || m_dests.size() > 1) {
    if (m_dests.size() != sources.size()) return false;
    for (qsizetype i = 0; i < sources.size(); ++i) {
      const QString dest = vb::resolvePath(m_dests[i]);
      // A bare new name stays in the source's folder.
      targets << (QFileInfo(dest).isRelative() ? QFileInfo(sources[i]).dir().filePath(dest) : dest);
    }
    return true;
  }
  const QString dest = vb::resolvePath(m_dests[0]);
  if (sources.size() == 1 && !QFileInfo(dest).isDir()) {
    targets << dest;
    return true;
  }
  if (!ensureFolder(dest)) return false;
  for (const QString& s : sources) targets << QDir(dest).filePath(QFileInfo(s).fileName());
  return true;
}

bool clsCSHFileOp::ensureFolder(const QString& folder) {
  if (QFileInfo(folder).isDir()) return true;
  if (m_confirmMakeDir && m_confirmOperation) {
    const QString question = QStringLiteral("Der Ordner \"%1\" ist nicht vorhanden.\n\nSoll er erstellt werden?");
    if (ui::MsgBox(question.arg(folder), ui::vbYesNo | ui::vbQuestion) != ui::vbYes) return false;
  }
  return QDir().mkpath(folder);
}

clsCSHFileOp::Outcome clsCSHFileOp::transfer(Operation op, const QString& source, QString target) {
  if (QFileInfo(source).absoluteFilePath() == QFileInfo(target).absoluteFilePath()) {
    // Copied onto itself: a copy beside it, never a replace that would lose the file.
    if (op != Operation::Copy) return Outcome::Skipped;
    target = freeCopyName(target);
    if (target.isEmpty()) return Outcome::Failed;
  }
  // A folder cannot go into itself.
  if (QFileInfo(target).absoluteFilePath().startsWith(QFileInfo(source).absoluteFilePath() + QLatin1Char('/')))
    return Outcome::Failed;
  if (!ensureFolder(QFileInfo(target).absolutePath())) return Outcome::Aborted;
  if (existsOrLink(target)) {
    if (m_renameOnCollision) {
      target = freeCopyName(target);
      if (target.isEmpty()) return Outcome::Failed;
    } else {
      // Only a file replaces a file; a folder is never wiped by a replace.
      if (isRealDir(target) || isRealDir(source)) return Outcome::Failed;
      if (m_confirmOperation) {
        const QString question =
            QStringLiteral("Die Datei \"%1\" ist bereits vorhanden.\n\nMöchten Sie sie ersetzen?").arg(target);
        const int answer = ui::MsgBox(question, ui::vbYesNoCancel | ui::vbExclamation);
        if (answer == ui::vbNo) return Outcome::Skipped;
        if (answer != ui::vbYes) return Outcome::Aborted;
      }
      if (!QFile::remove(target)) return Outcome::Failed;
    }
  }
  const bool ok = op == Operation::Copy ? copyItem(source, target) : moveItem(source, target);
  return ok ? Outcome::Done : Outcome::Failed;
}

clsCSHFileOp::Outcome clsCSHFileOp::remove(const QString& source) {
  const bool ok = m_allowUndo ? QFile::moveToTrash(source) : removeItem(source);
  return ok ? Outcome::Done : Outcome::Failed;
}
