#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/Exception.h"
#include "platform/core/Variant.h"

// The message format between a socket connection and the socket server.
//
// A frame is a 4-byte big-endian length followed by that many bytes holding
// one MessagePack value.
//   request: [call id, server class, operation, kind, [args...]]
//            kind 0 calls a method, 1 reads a property, 2 writes one (args
//            holds the value); an empty operation only creates the object.
//   reply:   [call id, 0, result, [args after the call...]]
//            [call id, 1, error class name, error message]
// Names travel as str, the error message as bin (bytes in the ANSI code
// page). A Variant is [type code, payload] with the code of VarType:
//   Empty, Null          no payload
//   Boolean              bool
//   SmallInt, Integer    int
//   Double, Date         float64
//   Currency             int (the value times 10000)
//   String               bin, the bytes as they are
//   OleStr               bin, UTF-16LE code units (lone surrogates survive)
//   Array                [[low, high] per dimension], [items, first index
//                        fastest] (so the payload is two elements)
// Automation objects cannot cross.

namespace platform::remote {

/* What a decoder accepts. Every count read from a header is checked against
   the bytes left in the frame and the element budget before anything is
   allocated for it. */
struct WireLimits {
  uint32_t MaxFrameBytes = 16u << 20;  // body of one frame
  int MaxDepth = 64;                   // arrays inside arrays
  uint32_t MaxElements = 1u << 20;     // Variants in one frame
};

/* Bytes that are not a message of this format, or that break its limits. */
class EWireFormat : public EOleError {
 public:
  using EOleError::EOleError;
  const char* ClassName() const noexcept override;
};

enum class CallKind : uint8_t { Method = 0, GetProperty = 1, PutProperty = 2 };

struct Request {
  uint64_t CallId = 0;
  std::string ServerClass;
  std::string Operation;
  CallKind Kind = CallKind::Method;
  std::vector<Variant> Args;
};

struct Reply {
  uint64_t CallId = 0;
  bool Failed = false;
  Variant Result;                // when not Failed
  std::vector<Variant> RefArgs;  // when not Failed
  std::string ErrorClass;        // when Failed
  std::string ErrorMessage;      // when Failed
};

/* One Variant as MessagePack bytes. Raises EBadArgument for an automation
   object anywhere in the value and for arrays nested deeper than the limit. */
std::string EncodeVariant(const Variant& value, const WireLimits& limits = {});

/* The Variant held by exactly these bytes. Raises EWireFormat for anything
   else: truncated or trailing bytes, unknown type codes, a payload of the
   wrong kind or range, bounds that do not match the items, the limits. */
Variant DecodeVariant(std::string_view bytes, const WireLimits& limits = {});

/* Whole frames, length prefix included. Raise EBadArgument when a value
   cannot be encoded or the body would exceed MaxFrameBytes. */
std::string EncodeRequestFrame(const Request& request, const WireLimits& limits = {});
std::string EncodeReplyFrame(const Reply& reply, const WireLimits& limits = {});

/* Read a frame body (without its prefix). Raise EWireFormat when it is not a
   well-formed message. DecodeRequest stores the call id in *callId as soon as
   it has been read, so that a server can still answer a request whose later
   fields are bad. */
Request DecodeRequest(std::string_view body, const WireLimits& limits = {},
                      std::optional<uint64_t>* callId = nullptr);
Reply DecodeReply(std::string_view body, const WireLimits& limits = {});

/* Cuts a byte stream into frame bodies. Bytes are kept only as they arrive;
   a length prefix never reserves memory. A prefix above the maximum makes
   the stream broken for good: Feed returns false then and on every later
   call. */
class FrameReader {
 public:
  explicit FrameReader(uint32_t maxFrameBytes);

  bool Feed(std::string_view bytes);
  /* Moves the oldest complete frame body into body; false when none. */
  bool TakeFrame(std::string& body);

  bool Broken() const { return broken_; }
  /* Bytes of a frame that has begun but not ended (prefix bytes included). */
  bool HasPartialFrame() const { return headerSize_ > 0; }
  /* Bytes held: complete frames not yet taken and the partial frame. */
  size_t BufferedBytes() const { return buffered_; }
  size_t CompleteFrames() const { return complete_.size(); }

 private:
  uint32_t maxFrameBytes_;
  bool broken_ = false;
  unsigned char header_[4] = {};
  size_t headerSize_ = 0;
  uint32_t expected_ = 0;
  std::string body_;
  std::deque<std::string> complete_;
  size_t buffered_ = 0;
};

}  // namespace platform::remote
