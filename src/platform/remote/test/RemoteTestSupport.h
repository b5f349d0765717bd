#pragma once

// Helpers for the tests of the socket connection and of the programs that
// speak its wire format: bytes written as hexadecimal text, and a loopback
// port nobody listens on.

#include <string>
#include <string_view>

namespace platform::remote::test {

/* The bytes of hexadecimal text: "92 03 05" -> "\x92\x03\x05". Anything but
   the digits 0-9 and a-f (blanks, upper case letters) is passed over; an odd
   digit left at the end is dropped. */
std::string Hex(std::string_view text);

/* A loopback port nothing listens on: bound for a moment and released, so a
   connection to it is refused (unless another process takes it meanwhile). */
int UnusedPort();

}  // namespace platform::remote::test
