#include "configuration/ctrMahnAllgTexte.h"

namespace configuration {

ctrMahnAllgTexte::ctrMahnAllgTexte(FormularFenster&, QWidget* parent)
    : ctrMahnTexte({QStringLiteral("Betrefftext"), QStringLiteral("AllgemeinSchlussText"), QStringLiteral("Absender"),
                    QStringLiteral("Absender"), QStringLiteral("Absender")},
                   parent) {}

}  // namespace configuration
