#pragma once

#include <string>
#include <string_view>

#include "platform/core/Variant.h"
#include "suite/db/Json.h"

namespace suitedb {

/* Variants as tagged JSON, so that a stored value comes back with its kind,
   its exact value and, for arrays, its bounds:
     {"t":"Empty"}  {"t":"Null"}  {"t":"Boolean","v":true}
     {"t":"SmallInt","v":5}  {"t":"Integer","v":5}  {"t":"Double","v":1.5}
     {"t":"Currency","v":"12.3456"}           exact, four decimals at most
     {"t":"Date","v":45356.5,"text":"2024/03/05 12:00:00.000"}   text is for reading only
     {"t":"OleStr","v":"确定"}                  wide text as UTF-8
     {"t":"String","cp":936,"v":"确定"}         byte text decoded as GB
     {"t":"Array","bounds":[[1,3]],"v":[...]}  elements first index fastest
     {"t":"Dispatch","class":"..."}            an object; reads back as Empty
   A wide text with a lone surrogate keeps its UTF-16 code units in "u16"
   (hex); a byte text that GB decoding would not give back byte for byte
   keeps its bytes in "hex" (its "v" is then only a readable approximation).
   A non-finite Double is written as the string "NaN", "Infinity" or
   "-Infinity". */
Json VariantToJson(const platform::Variant& value);
/* Reads a tagged value back. Raises EConvertError for a value that is not
   in the form above (unknown tag, missing or mistyped member, bounds that
   do not match the element count). */
platform::Variant JsonToVariant(const Json& json);

/* Text forms of the two above (compact JSON). */
std::string VariantToJsonText(const platform::Variant& value);
platform::Variant JsonTextToVariant(std::string_view text);

}  // namespace suitedb
