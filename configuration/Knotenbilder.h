#pragma once
// The nine node images of the template tree, drawn at run time, by their keys: "Drucker",
// "Ordner", "Rechner", "RechnerInaktiv", "Vorlage", "Formular", "Datei", "Texte", "RechnerGlobal".
#include <QIcon>
#include <QString>

namespace configuration {

// The image of `key`; a null icon for any other key.
QIcon Knotenbild(const QString& key);

}  // namespace configuration
