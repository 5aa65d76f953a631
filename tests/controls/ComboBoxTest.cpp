#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QTest>

#include "controls/ComboBox.h"
#include "controls/JapaneseDesktop.h"
#include "platform/MessageText.h"

TEST(ComboBox, TheDroppedDownListHasRowsOfTheItemHeight) {
  ComboBox box(nullptr, WindowsFont(FontFace::ProportionalGothic, 16),
               {Cp932("実寸表示"), Cp932("拡大表示")}, 23);
  box.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
  QTest::keyClick(&box, Qt::Key_Down, Qt::AltModifier);
  ASSERT_TRUE(box.view()->isVisible());
  for (int row = 0; row < box.count(); ++row) {
    EXPECT_EQ(box.view()->visualRect(box.model()->index(row, 0)).height(), 23);
  }
  box.hidePopup();
}
