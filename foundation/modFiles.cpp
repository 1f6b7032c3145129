#include "foundation/modFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "platform/ui/Dialogs.h"
#include "platform/vb/PathResolver.h"
#include "platform/vb/VbError.h"

namespace {

// Positions in the system's texts are 16-bit.
constexpr qsizetype kMaxTextPosition = 32767;
// The dialogs' file buffer: 256 characters with the closing null.
constexpr qsizetype kMaxDialogPath = 255;

// Windows-1252 bytes 0x80..0x9F; the five bytes it leaves undefined map to the same code point.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char ansiByte(char32_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
  for (int i = 0; i < 32; ++i)
    if (kCp1252High[i] == c) return static_cast<char>(0x80 + i);
  return '?';
}

}  // namespace

QByteArray toAnsi(const QString& text) {
  QByteArray out;
  out.reserve(text.size());
  for (char32_t c : text.toUcs4()) out += ansiByte(c);
  return out;
}

QString fromAnsi(const QByteArray& bytes) {
  QString out;
  out.reserve(bytes.size());
  for (char b : bytes) {
    const auto u = static_cast<unsigned char>(b);
    out += (u >= 0x80 && u < 0xA0) ? QChar(kCp1252High[u - 0x80]) : QChar(u);
  }
  return out;
}

QString ShowCommonDialog(const QString& InitDir, const QString& Filter, const QString& FileName,
                         const QString& DialogTitle, bool OpenFile) {
  ui::FileDialogRequest request;
  request.title = DialogTitle;
  request.filter = Filter;
  request.fileName = FileName;
  request.initDir = InitDir.isEmpty() ? QDir::currentPath() : InitDir;
  request.save = !OpenFile;
  const QString chosen = ui::dialogs().fileDialog(request);
  if (chosen.size() > kMaxDialogPath) return {};
  return chosen;
}

QString DateiDialog(const QString& DialogTitel, const QString& Filter, const QString& Dateiname, bool bSpeichern,
                    std::int32_t hWndOwner, const QString& InitDir) {
  return ShowCommonDialog(InitDir, Filter, Dateiname, DialogTitel, !bSpeichern);
}

QString OrdnerDialog(std::int32_t hWndOwner, const QString& Titel) {
  return ui::dialogs().folderDialog(Titel);
}

QString StripNull(const QString& Text) {
  const qsizetype p = Text.indexOf(QChar(0));
  if (p < 0) return Text;
  if (p + 1 > kMaxTextPosition) vb::raise(vb::ErrOverflow);
  return Text.left(p);
}

QString GetDateiName(const QString& Pfad) {
  if (Pfad.size() > kMaxTextPosition) vb::raise(vb::ErrOverflow);
  const qsizetype p = Pfad.lastIndexOf(QLatin1Char('\\'));
  return p < 0 ? QString() : Pfad.mid(p + 1);
}

QString GetPfad(const QString& Pfad) {
  if (Pfad.size() > kMaxTextPosition) vb::raise(vb::ErrOverflow);
  const qsizetype p = Pfad.lastIndexOf(QLatin1Char('\\'));
  return p < 0 ? QString() : Pfad.left(p + 1);
}

bool DateiExistiert(const QString& Dateiname) {
  if (Dateiname.trimmed().isEmpty()) return false;
  const QString real = vb::resolvePath(Dateiname);
  if (!QFileInfo(real).isFile()) return false;
  QFile f(real);
  return f.open(QIODevice::ReadOnly);
}

QString DateiLesen(const QString& Dateiname) {
  const QString real = vb::resolvePath(Dateiname);
  if (Dateiname.isEmpty() || !QFileInfo(real).isFile()) vb::raise(vb::ErrFileNotFound);
  QFile f(real);
  if (!f.open(QIODevice::ReadOnly)) return {};
  QByteArray bytes = f.readAll();
  // Text-mode reading ends at Ctrl-Z, as old DOS-written files close with one.
  const qsizetype eof = bytes.indexOf('\x1A');
  if (eof >= 0) bytes.truncate(eof);
  return fromAnsi(bytes);
}
