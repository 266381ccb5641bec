// Page conversions on any page: training-card buttons and objects both ways,
// pop-up objects and script tags, the cleaning of stored and pasted pages,
// and every reader of the page's tags.
#include "chm/fulltext_words.h"
#include "editor/card_conversions.h"
#include "editor/page_cleaning.h"
#include "editor/page_split.h"
#include "editor/paste_cleaning.h"
#include "features/popup_texts.h"
#include "fuzz_input.h"
#include "platform/codepage.h"
#include "platform/html_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QString page = DecodeCodePage(orvex_fuzz::Bytes(data, size), 1252);
  CardObjectsToButtons(CardButtonsToObjects(page));
  CardButtonsToObjects(CardObjectsToButtons(page));
  WithPopupHead(page, QStringLiteral("pP.js"));
  HasPopupHeadObject(page);
  HasPopupScriptTag(page, QStringLiteral("pP.js"));
  JsStringBody(page, 1252);
  DecodeHtmlEntities(page);
  const PageParts parts = SplitPage(page);
  ServedPage(parts);
  PageTitle(parts);
  ExtractPageText(page);
  CleanPastedHtml(page);
  StoredPageText(parts, page, AuthorStyles(page));
  return 0;
}
