#include "configuration/ctrMahnVorSchluss.h"

namespace configuration {

ctrMahnVorSchluss::ctrMahnVorSchluss(FormularFenster&, QWidget* parent)
    : ctrMahnTexte({QStringLiteral("VorText"), QStringLiteral("SchlussText"), QStringLiteral("Überschrift"),
                    QStringLiteral("Ueberschrift"), QStringLiteral("Überschrift")},
                   parent) {}

}  // namespace configuration
