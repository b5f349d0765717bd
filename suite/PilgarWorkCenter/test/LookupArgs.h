#pragma once

#include "platform/core/Variant.h"

namespace pilgarwc::test {

/* The lookup's argument array as the report window builds it: 19 elements,
   or 17 for the earlier generation (no host object, no user). */
inline platform::Variant F2Args(const char* table, const platform::Variant& key, bool multi,
                                const platform::Variant& text, const char* limits = "",
                                bool compat = false) {
  using platform::Variant;
  Variant a = platform::VarArrayCreate({{0, compat ? 16 : 18}});
  a[0] = Variant(table);
  a[1] = Variant("01");
  a[2] = key;
  a[3] = Variant(multi);
  a[4] = text;
  a[5] = Variant("VRK");
  a[6] = Variant("VRKDEMO");
  a[7] = Variant(int32_t{0});
  a[8] = Variant(int32_t{1});
  a[9] = Variant(false);
  a[10] = Variant(int32_t{0});
  a[11] = a[12] = a[13] = Variant("");
  a[14] = Variant(limits);
  a[15] = Variant(true);
  a[16] = Variant(true);
  if (!compat) a[18] = Variant("DS");  // 17, the host object, stays unassigned here
  return a;
}

}  // namespace pilgarwc::test
