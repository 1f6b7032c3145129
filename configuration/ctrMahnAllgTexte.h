#pragma once
// The panel of a dunning template's "Allg. Texte" node: the general opening text, closing text
// and sender line in the template's Auftrag_Formular_Neu row (Betrefftext, AllgemeinSchlussText,
// Absender), used where a dunning level has no text of its own.
#include "configuration/ctrMahnTexte.h"

namespace configuration {

class FormularFenster;

class ctrMahnAllgTexte : public ctrMahnTexte {
  Q_OBJECT

 public:
  explicit ctrMahnAllgTexte(FormularFenster& fenster, QWidget* parent = nullptr);
};

}  // namespace configuration
