#pragma once
// The panel of one dunning level's node: the level's heading, opening text and closing text in its
// Auftrag_Formular_Mahnung row (Überschrift, VorText, SchlussText). The window hands in the
// level's record set, without a row until the level is first saved.
#include "configuration/ctrMahnTexte.h"

namespace configuration {

class FormularFenster;

class ctrMahnVorSchluss : public ctrMahnTexte {
  Q_OBJECT

 public:
  explicit ctrMahnVorSchluss(FormularFenster& fenster, QWidget* parent = nullptr);
};

}  // namespace configuration
