#pragma once
// Reader for the RTF that the system writes into rich-text values: groups, the font and colour
// tables, \b \i \ul \strike \fs \f \cf, \par \line \tab, \'hh (read as Windows-1252), \uN with
// \ucN, \pard \plain and paragraph alignment. Destinations it does not know are skipped.
#include <QFont>
#include <QString>

class QTextDocument;

namespace report {

// True when `text` is an RTF document: "{\rtf" in any letter case, after leading white space.
bool looksLikeRtf(const QString& text);

// Replaces the content of `doc` with the formatted runs of `rtf`. Text that is no RTF document
// is taken as plain text. `baseFont` is what unformatted text is drawn in; \plain returns to it.
// Malformed input (unbalanced braces, a cut-off document, stray bytes) never fails: what could
// be read stays in the document.
void readRtf(const QString& rtf, QTextDocument& doc, const QFont& baseFont);

}  // namespace report
