#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

/* The platform's number texts. Implemented with the Variant conversions,
   which use the same rules. */

std::string IntToStr(int64_t value);
/* Upper-case hexadecimal, zero-padded to at least digits. */
std::string IntToHex(int64_t value, int digits);
/* General form with 15 significant digits: "1.5", "0.1", "1E20", "1.5E-5";
   the decimal point is "." whatever the locale. */
std::string FloatToStr(double value);
/* A decimal number with "." as decimal point, optional sign and exponent;
   leading and trailing blanks are allowed; nullopt for anything else. */
std::optional<double> TryStrToFloat(std::string_view text);

}  // namespace platform
