#include <gtest/gtest.h>

#include <QDialogButtonBox>
#include <QKeySequence>
#include <QLocale>
#include <QPushButton>

#include "platform/ui/GermanQt.h"

TEST(GermanQt, QtsOwnButtonsKeysAndNumbersAreGermanWhateverLangSays) {
  ASSERT_TRUE(ui::useGermanQt()) << "Qt's German translations are missing (scripts/setup installs qt6-translations-l10n)";
  QDialogButtonBox buttons(QDialogButtonBox::Close);
  EXPECT_EQ(buttons.button(QDialogButtonBox::Close)->text(), QStringLiteral("Schließen"));
  EXPECT_EQ(QKeySequence(QKeySequence::Copy).toString(QKeySequence::NativeText), QStringLiteral("Strg+C"));
  EXPECT_EQ(QLocale().toString(62.7, 'f', 2), QStringLiteral("62,70"));
  QLocale::setDefault(QLocale::c());
}
