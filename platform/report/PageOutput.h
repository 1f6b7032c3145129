#pragma once
// Puts pages on a paged device: a PDF file (QPdfWriter, text stays text) or a printer.
#include <QString>

#include "platform/report/PageSource.h"

class QPagedPaintDevice;

namespace report {

// Draws every page on `device`, each page on a sheet of its own size and orientation.
bool paintPages(const PageSource& pages, QPagedPaintDevice& device, QString* error);

// Writes the pages as a PDF file at `path` (a real path) with `title` as its document title.
// False, with `error` telling why, when the file could not be written whole; an earlier file at
// `path` then stays as it was.
bool writePdf(const PageSource& pages, const QString& path, const QString& title, QString* error);

// Prints the pages on the default printer; false when there is none or it failed.
bool printOnDefaultPrinter(const PageSource& pages, const QString& title);

}  // namespace report
