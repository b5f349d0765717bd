// Fuzz target for the socket message decoders (libFuzzer). The input is read
// twice: as one Variant, and as a byte stream of frames whose bodies are read
// as a request and as a reply. Besides the sanitizers' checks, whatever
// decodes must encode again, and the encoding must read back to the same
// encoding: a value that crosses the socket once crosses it unchanged.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/remote/Wire.h"

namespace {

using namespace platform::remote;

// Decoding uses the small limits, encoding room to spare: a float32 read
// comes back as float64, so a re-encoded body may be larger than the input.
WireLimits DecodeLimits() {
  WireLimits limits;
  limits.MaxFrameBytes = 1u << 16;
  return limits;
}

WireLimits EncodeLimits() {
  WireLimits limits;
  limits.MaxFrameBytes = 1u << 20;
  return limits;
}

void Require(bool condition) {
  if (!condition) std::abort();
}

void CheckVariant(std::string_view bytes) {
  platform::Variant value;
  try {
    value = DecodeVariant(bytes, DecodeLimits());
  } catch (const EWireFormat&) {
    return;
  }
  const std::string once = EncodeVariant(value, EncodeLimits());
  Require(EncodeVariant(DecodeVariant(once, EncodeLimits()), EncodeLimits()) == once);
}

void CheckRequest(const std::string& body) {
  Request request;
  try {
    request = DecodeRequest(body, DecodeLimits());
  } catch (const EWireFormat&) {
    return;
  }
  const std::string once = EncodeRequestFrame(request, EncodeLimits());
  const Request again = DecodeRequest(std::string_view(once).substr(4), EncodeLimits());
  Require(again.CallId == request.CallId && again.ServerClass == request.ServerClass &&
          again.Operation == request.Operation && again.Kind == request.Kind);
  Require(EncodeRequestFrame(again, EncodeLimits()) == once);
}

void CheckReply(const std::string& body) {
  Reply reply;
  try {
    reply = DecodeReply(body, DecodeLimits());
  } catch (const EWireFormat&) {
    return;
  }
  const std::string once = EncodeReplyFrame(reply, EncodeLimits());
  const Reply again = DecodeReply(std::string_view(once).substr(4), EncodeLimits());
  Require(again.CallId == reply.CallId && again.Failed == reply.Failed &&
          again.ErrorClass == reply.ErrorClass && again.ErrorMessage == reply.ErrorMessage);
  Require(EncodeReplyFrame(again, EncodeLimits()) == once);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  CheckVariant(bytes);

  // The stream arrives in two pieces, cut where the first byte says, as a
  // socket may deliver it.
  FrameReader reader(DecodeLimits().MaxFrameBytes);
  const size_t cut = size == 0 ? 0 : data[0] % size;
  reader.Feed(bytes.substr(0, cut));
  reader.Feed(bytes.substr(cut));
  Require(reader.Broken() || reader.BufferedBytes() <= size);
  std::string body;
  while (reader.TakeFrame(body)) {
    CheckRequest(body);
    CheckReply(body);
  }
  return 0;
}
