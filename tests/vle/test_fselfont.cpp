#include <gtest/gtest.h>

#include "vle/FSelFont.h"

using namespace vorlect::vle;

namespace {

TEST(FontDialogModel, PreselectionIgnoresCaseAndOKNeedsBothLists) {
  TFrmSelFont d({"Arial", "Courier New", "\xC4rial"});
  ASSERT_EQ(d.Charsets().size(), 19u);
  EXPECT_EQ(d.Charsets()[15], "RUSSIAN_CHARSET");
  d.Preselect("courier NEW", "Russian_Charset");
  EXPECT_EQ(d.Choice(), (TSelFontChoice{"Courier New", "RUSSIAN_CHARSET"}));
  EXPECT_EQ(d.SampleFontName(), "MS Sans Serif");  // preselection leaves the sample alone

  // Letters beyond ASCII compare in the ANSI code page (1252: 0xE4 is the small 0xC4); a cell's
  // code ("Arial, 7") is no entry of the list.
  d.Preselect("\xE4rial", "7");
  EXPECT_EQ(d.FontIndex(), 2);
  EXPECT_EQ(d.CharsetIndex(), -1);
  EXPECT_FALSE(d.OKEnabled());
  EXPECT_FALSE(d.Choice());
}

TEST(FontDialogModel, ClicksSetTheSample) {
  TFrmSelFont d({"Arial", "Tahoma"});
  d.FontListClick(1);
  d.CharsetListClick(9);
  EXPECT_EQ(d.SampleFontName(), "Tahoma");
  EXPECT_EQ(d.SampleCharset(), 161);
  EXPECT_EQ(d.Choice(), (TSelFontChoice{"Tahoma", "GREEK_CHARSET"}));

  // A selection taken away (or a row the list lacks) keeps the sample and disables OK.
  d.FontListClick(2);
  d.CharsetListClick(-1);
  EXPECT_EQ(d.FontIndex(), -1);
  EXPECT_EQ(d.SampleFontName(), "Tahoma");
  EXPECT_EQ(d.SampleCharset(), 161);
  EXPECT_FALSE(d.OKEnabled());
}

}  // namespace
