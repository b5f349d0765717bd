#pragma once

#include <functional>
#include <string>

#include "platform/core/Variant.h"

namespace pilgarwc {

/* What a lookup asks for: the table and kind of the server's lookup, the
   key that narrows the rows, whether several rows may be chosen, and the
   text the search box starts with (GB bytes). */
struct LookupRequest {
  std::string Table;
  std::string Kind;
  platform::Variant Key;
  bool Multi = false;
  std::string StartText;
};

/* The lookup window's content for a search text (GB bytes): [column
   captions, rows], each row an array of columns with the code first, as the
   server's LookupRows answers. Errors pass to the window's caller. */
using LookupFetch = std::function<platform::Variant(const std::string& searchText)>;

/* The caption of the lookup window of a table: its name and code
   ("工厂信息查询 - CMSMB"); a table without a known name shows its code. */
std::string LookupCaption(const std::string& table);

/* Shows the lookup window modally: the caption of the table, a search box
   holding StartText, and the rows fetched for the search text in a report
   list with the fetched captions, fetched again whenever the search text
   changes. One row (or several with Multi) is chosen and taken with OK,
   Enter or a double click; Esc or Cancel leave. Returns the chosen rows as
   an array 0..n-1 of the fetched rows, in list order, or unassigned when
   the window was left or nothing was chosen. A failing fetch before the
   window opens raises; one while searching leaves the list empty. */
platform::Variant RunLookupWindow(const LookupRequest& request, const LookupFetch& fetch);

}  // namespace pilgarwc
