#include "platform/remote/Wire.h"

#include <msgpack.hpp>

#include <cstring>
#include <limits>
#include <utility>

namespace platform::remote {

const char* EWireFormat::ClassName() const noexcept { return "EWireFormat"; }

namespace {

// ---------------------------------------------------------------------------
// Encoding

struct StringSink {
  std::string bytes;
  void write(const char* data, size_t size) { bytes.append(data, size); }
};

using Packer = msgpack::packer<StringSink>;

// Always float64: the packer's own pack_double writes whole numbers as
// integers, which would lose -0.0. The packer writes straight through to the
// sink, so adding bytes to the sink keeps the order.
void PackFloat64(StringSink& sink, double value) {
  uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  char bytes[9];
  bytes[0] = static_cast<char>(0xCB);
  for (int i = 0; i < 8; ++i) bytes[1 + i] = static_cast<char>(bits >> (56 - 8 * i));
  sink.write(bytes, sizeof bytes);
}

void PackBytes(Packer& packer, std::string_view bytes) {
  packer.pack_bin(static_cast<uint32_t>(bytes.size()));
  packer.pack_bin_body(bytes.data(), static_cast<uint32_t>(bytes.size()));
}

void PackName(Packer& packer, std::string_view name) {
  packer.pack_str(static_cast<uint32_t>(name.size()));
  packer.pack_str_body(name.data(), static_cast<uint32_t>(name.size()));
}

void CheckSize(size_t size) {
  // MessagePack counts in 32 bits; nothing this large could be sent anyway.
  if (size > std::numeric_limits<uint32_t>::max()) throw EBadArgument("Value too large to send");
}

void PackVariant(Packer& packer, StringSink& sink, const Variant& value, int depth,
                 const WireLimits& limits) {
  const auto code = static_cast<uint16_t>(value.Type());
  switch (value.Type()) {
    case VarType::Empty:
    case VarType::Null:
      packer.pack_array(1).pack_uint16(code);
      return;
    case VarType::Boolean:
      packer.pack_array(2).pack_uint16(code);
      if (value.AsBoolean()) {
        packer.pack_true();
      } else {
        packer.pack_false();
      }
      return;
    case VarType::SmallInt:
      packer.pack_array(2).pack_uint16(code).pack_int16(value.AsSmallInt());
      return;
    case VarType::Integer:
      packer.pack_array(2).pack_uint16(code).pack_int32(value.AsInteger());
      return;
    case VarType::Double:
      packer.pack_array(2).pack_uint16(code);
      PackFloat64(sink, value.AsDouble());
      return;
    case VarType::Date:
      packer.pack_array(2).pack_uint16(code);
      PackFloat64(sink, value.AsDate().Value);
      return;
    case VarType::Currency:
      packer.pack_array(2).pack_uint16(code).pack_int64(value.AsCurrency().Scaled);
      return;
    case VarType::String: {
      const std::string bytes = value.AsString();
      CheckSize(bytes.size());
      packer.pack_array(2).pack_uint16(code);
      PackBytes(packer, bytes);
      return;
    }
    case VarType::OleStr: {
      const std::u16string wide = value.AsWideString();
      CheckSize(wide.size() * 2);
      std::string bytes;
      bytes.reserve(wide.size() * 2);
      for (char16_t unit : wide) {
        bytes.push_back(static_cast<char>(unit & 0xFF));
        bytes.push_back(static_cast<char>(unit >> 8));
      }
      packer.pack_array(2).pack_uint16(code);
      PackBytes(packer, bytes);
      return;
    }
    case VarType::Array: {
      if (depth >= limits.MaxDepth) throw EBadArgument("Variant arrays nested too deeply to send");
      const VarArray& array = value.Array();
      packer.pack_array(3).pack_uint16(code);
      packer.pack_array(static_cast<uint32_t>(array.DimCount()));
      for (int dim = 1; dim <= array.DimCount(); ++dim) {
        const ArrayBound bound = array.Bounds(dim);
        packer.pack_array(2).pack_int32(bound.Low).pack_int32(bound.High);
      }
      CheckSize(array.Size());
      packer.pack_array(static_cast<uint32_t>(array.Size()));
      for (const Variant& item : array.Items()) PackVariant(packer, sink, item, depth + 1, limits);
      return;
    }
    case VarType::Dispatch:
      break;
  }
  throw EBadArgument("An automation object cannot be sent over a socket connection");
}

std::string Framed(StringSink&& sink, const WireLimits& limits) {
  const size_t body = sink.bytes.size() - 4;
  if (body > limits.MaxFrameBytes) {
    throw EBadArgument("Message of " + std::to_string(body) + " bytes exceeds the limit of " +
                       std::to_string(limits.MaxFrameBytes) + " bytes");
  }
  for (int i = 0; i < 4; ++i)
    sink.bytes[static_cast<size_t>(i)] = static_cast<char>(body >> (24 - 8 * i));
  return std::move(sink.bytes);
}

// ---------------------------------------------------------------------------
// Decoding. A small pull reader over the frame: each step checks the bytes it
// needs are there, and every count is checked before it is used.

[[noreturn]] void Malformed(const std::string& what) {
  throw EWireFormat("Malformed message: " + what);
}

class Reader {
 public:
  Reader(std::string_view data, const WireLimits& limits)
      : data_(data), budget_(limits.MaxElements), limits_(limits) {}

  size_t Left() const { return data_.size() - pos_; }
  bool AtEnd() const { return pos_ == data_.size(); }
  const WireLimits& Limits() const { return limits_; }

  uint32_t ArrayHeader() {
    const uint8_t tag = Byte();
    uint32_t count;
    if ((tag & 0xF0) == 0x90) {
      count = tag & 0x0F;
    } else if (tag == 0xDC) {
      count = static_cast<uint32_t>(Fixed(2));
    } else if (tag == 0xDD) {
      count = static_cast<uint32_t>(Fixed(4));
    } else {
      Malformed("array expected");
    }
    // Every element takes at least one byte.
    if (count > Left()) Malformed("array of " + std::to_string(count) + " elements is truncated");
    return count;
  }

  /* Takes count Variants from the element budget before they are made. */
  void Charge(uint32_t count) {
    if (count > budget_) Malformed("more than " + std::to_string(limits_.MaxElements) + " values");
    budget_ -= count;
  }

  int64_t Int() {
    const uint8_t tag = Byte();
    if (tag <= 0x7F) return tag;
    if (tag >= 0xE0) return static_cast<int8_t>(tag);
    switch (tag) {
      case 0xCC:
        return static_cast<int64_t>(Fixed(1));
      case 0xCD:
        return static_cast<int64_t>(Fixed(2));
      case 0xCE:
        return static_cast<int64_t>(Fixed(4));
      case 0xCF: {
        const uint64_t v = Fixed(8);
        if (v > static_cast<uint64_t>(std::numeric_limits<int64_t>::max())) {
          Malformed("integer out of range");
        }
        return static_cast<int64_t>(v);
      }
      case 0xD0:
        return static_cast<int8_t>(Fixed(1));
      case 0xD1:
        return static_cast<int16_t>(Fixed(2));
      case 0xD2:
        return static_cast<int32_t>(Fixed(4));
      case 0xD3:
        return static_cast<int64_t>(Fixed(8));
      default:
        Malformed("integer expected");
    }
  }

  uint64_t UInt() {
    if (Left() > 0 && static_cast<uint8_t>(data_[pos_]) == 0xCF) {
      ++pos_;
      return Fixed(8);
    }
    const int64_t v = Int();
    if (v < 0) Malformed("non-negative integer expected");
    return static_cast<uint64_t>(v);
  }

  int64_t IntIn(int64_t low, int64_t high) {
    const int64_t v = Int();
    if (v < low || v > high) Malformed("integer out of range");
    return v;
  }

  bool Bool() {
    const uint8_t tag = Byte();
    if (tag == 0xC2) return false;
    if (tag == 0xC3) return true;
    Malformed("boolean expected");
  }

  double Float() {
    const uint8_t tag = Byte();
    if (tag == 0xCB) {
      const uint64_t bits = Fixed(8);
      double v;
      std::memcpy(&v, &bits, sizeof v);
      return v;
    }
    if (tag == 0xCA) {
      const auto bits = static_cast<uint32_t>(Fixed(4));
      float v;
      std::memcpy(&v, &bits, sizeof v);
      return v;
    }
    Malformed("float expected");
  }

  /* A bin; with names also a str. */
  std::string_view Bytes(bool orStr) {
    const uint8_t tag = Byte();
    size_t size;
    if (tag == 0xC4 || (orStr && tag == 0xD9)) {
      size = Fixed(1);
    } else if (tag == 0xC5 || (orStr && tag == 0xDA)) {
      size = Fixed(2);
    } else if (tag == 0xC6 || (orStr && tag == 0xDB)) {
      size = Fixed(4);
    } else if (orStr && (tag & 0xE0) == 0xA0) {
      size = tag & 0x1F;
    } else {
      Malformed(orStr ? "text expected" : "bytes expected");
    }
    if (size > Left()) Malformed("truncated bytes");
    const std::string_view bytes = data_.substr(pos_, size);
    pos_ += size;
    return bytes;
  }

 private:
  uint8_t Byte() {
    if (AtEnd()) Malformed("truncated");
    return static_cast<uint8_t>(data_[pos_++]);
  }

  uint64_t Fixed(int size) {
    if (Left() < static_cast<size_t>(size)) Malformed("truncated");
    uint64_t v = 0;
    for (int i = 0; i < size; ++i) v = (v << 8) | static_cast<uint8_t>(data_[pos_++]);
    return v;
  }

  std::string_view data_;
  size_t pos_ = 0;
  uint32_t budget_;
  const WireLimits& limits_;
};

Variant ReadVariant(Reader& in, int depth);

Variant ReadArray(Reader& in, int depth) {
  if (depth >= in.Limits().MaxDepth) {
    Malformed("arrays nested deeper than " + std::to_string(in.Limits().MaxDepth));
  }
  const uint32_t dims = in.ArrayHeader();
  if (dims < 1 || dims > 2) Malformed("an array has one or two dimensions");
  std::vector<ArrayBound> bounds;
  uint64_t total = 1;
  for (uint32_t d = 0; d < dims; ++d) {
    if (in.ArrayHeader() != 2) Malformed("a bound is [low, high]");
    ArrayBound bound;
    bound.Low = static_cast<int32_t>(in.IntIn(INT32_MIN, INT32_MAX));
    bound.High = static_cast<int32_t>(in.IntIn(INT32_MIN, INT32_MAX));
    const int64_t count = int64_t{bound.High} - bound.Low + 1;
    if (count < 0) Malformed("array bounds are invalid");
    // Capped so that the product cannot wrap; it is compared with a 32-bit
    // item count below.
    total = std::min<uint64_t>(total * static_cast<uint64_t>(count), uint64_t{1} << 33);
    bounds.push_back(bound);
  }
  const uint32_t count = in.ArrayHeader();
  if (count != total) Malformed("array items do not match its bounds");
  in.Charge(count);
  VarArray array(std::move(bounds));
  for (Variant& item : array.Items()) item = ReadVariant(in, depth + 1);
  return Variant(std::move(array));
}

Variant ReadVariant(Reader& in, int depth) {
  const uint32_t size = in.ArrayHeader();
  if (size == 0) Malformed("a value without type");
  const auto code = in.Int();
  auto expect = [&](uint32_t wanted) {
    if (size != wanted) Malformed("value of type " + std::to_string(code) + " has a wrong payload");
  };
  switch (code) {
    case static_cast<int64_t>(VarType::Empty):
      expect(1);
      return Variant();
    case static_cast<int64_t>(VarType::Null):
      expect(1);
      return Variant::Null();
    case static_cast<int64_t>(VarType::Boolean):
      expect(2);
      return Variant(in.Bool());
    case static_cast<int64_t>(VarType::SmallInt):
      expect(2);
      return Variant(static_cast<int16_t>(in.IntIn(INT16_MIN, INT16_MAX)));
    case static_cast<int64_t>(VarType::Integer):
      expect(2);
      return Variant(static_cast<int32_t>(in.IntIn(INT32_MIN, INT32_MAX)));
    case static_cast<int64_t>(VarType::Double):
      expect(2);
      return Variant(in.Float());
    case static_cast<int64_t>(VarType::Date):
      expect(2);
      return Variant(DateTime{in.Float()});
    case static_cast<int64_t>(VarType::Currency):
      expect(2);
      return Variant(Currency{in.Int()});
    case static_cast<int64_t>(VarType::String):
      expect(2);
      return Variant(std::string(in.Bytes(false)));
    case static_cast<int64_t>(VarType::OleStr): {
      expect(2);
      const std::string_view bytes = in.Bytes(false);
      if (bytes.size() % 2 != 0) Malformed("wide text of an odd number of bytes");
      std::u16string wide(bytes.size() / 2, u'\0');
      for (size_t i = 0; i < wide.size(); ++i) {
        wide[i] = static_cast<char16_t>(static_cast<uint8_t>(bytes[2 * i]) |
                                        (static_cast<uint8_t>(bytes[2 * i + 1]) << 8));
      }
      return Variant(std::move(wide));
    }
    case static_cast<int64_t>(VarType::Array):
      expect(3);
      return ReadArray(in, depth);
    default:
      Malformed("unknown value type " + std::to_string(code));
  }
}

void ExpectEnd(const Reader& in) {
  if (!in.AtEnd()) Malformed("bytes after the end of the message");
}

}  // namespace

std::string EncodeVariant(const Variant& value, const WireLimits& limits) {
  StringSink sink;
  Packer packer(sink);
  PackVariant(packer, sink, value, 0, limits);
  return std::move(sink.bytes);
}

Variant DecodeVariant(std::string_view bytes, const WireLimits& limits) {
  Reader in(bytes, limits);
  in.Charge(1);
  Variant value = ReadVariant(in, 0);
  ExpectEnd(in);
  return value;
}

std::string EncodeRequestFrame(const Request& request, const WireLimits& limits) {
  StringSink sink;
  sink.bytes.assign(4, '\0');
  Packer packer(sink);
  packer.pack_array(5).pack_uint64(request.CallId);
  PackName(packer, request.ServerClass);
  PackName(packer, request.Operation);
  packer.pack_uint8(static_cast<uint8_t>(request.Kind));
  CheckSize(request.Args.size());
  packer.pack_array(static_cast<uint32_t>(request.Args.size()));
  for (const Variant& arg : request.Args) PackVariant(packer, sink, arg, 0, limits);
  return Framed(std::move(sink), limits);
}

std::string EncodeReplyFrame(const Reply& reply, const WireLimits& limits) {
  StringSink sink;
  sink.bytes.assign(4, '\0');
  Packer packer(sink);
  packer.pack_array(4).pack_uint64(reply.CallId);
  if (reply.Failed) {
    packer.pack_uint8(1);
    PackName(packer, reply.ErrorClass);
    PackBytes(packer, reply.ErrorMessage);
  } else {
    packer.pack_uint8(0);
    PackVariant(packer, sink, reply.Result, 0, limits);
    CheckSize(reply.RefArgs.size());
    packer.pack_array(static_cast<uint32_t>(reply.RefArgs.size()));
    for (const Variant& arg : reply.RefArgs) PackVariant(packer, sink, arg, 0, limits);
  }
  return Framed(std::move(sink), limits);
}

Request DecodeRequest(std::string_view body, const WireLimits& limits,
                      std::optional<uint64_t>* callId) {
  Reader in(body, limits);
  if (in.ArrayHeader() != 5) Malformed("a request has five elements");
  Request request;
  request.CallId = in.UInt();
  if (callId) *callId = request.CallId;
  request.ServerClass = std::string(in.Bytes(true));
  request.Operation = std::string(in.Bytes(true));
  request.Kind = static_cast<CallKind>(in.IntIn(0, 2));
  const uint32_t count = in.ArrayHeader();
  in.Charge(count);
  request.Args.reserve(count);
  for (uint32_t i = 0; i < count; ++i) request.Args.push_back(ReadVariant(in, 0));
  ExpectEnd(in);
  return request;
}

Reply DecodeReply(std::string_view body, const WireLimits& limits) {
  Reader in(body, limits);
  if (in.ArrayHeader() != 4) Malformed("a reply has four elements");
  Reply reply;
  reply.CallId = in.UInt();
  reply.Failed = in.IntIn(0, 1) == 1;
  if (reply.Failed) {
    reply.ErrorClass = std::string(in.Bytes(true));
    reply.ErrorMessage = std::string(in.Bytes(true));
  } else {
    in.Charge(1);
    reply.Result = ReadVariant(in, 0);
    const uint32_t count = in.ArrayHeader();
    in.Charge(count);
    reply.RefArgs.reserve(count);
    for (uint32_t i = 0; i < count; ++i) reply.RefArgs.push_back(ReadVariant(in, 0));
  }
  ExpectEnd(in);
  return reply;
}

// ---------------------------------------------------------------------------
// FrameReader

FrameReader::FrameReader(uint32_t maxFrameBytes) : maxFrameBytes_(maxFrameBytes) {}

bool FrameReader::Feed(std::string_view bytes) {
  while (!broken_ && !bytes.empty()) {
    if (headerSize_ < 4) {
      header_[headerSize_++] = static_cast<unsigned char>(bytes.front());
      bytes.remove_prefix(1);
      ++buffered_;
      if (headerSize_ < 4) continue;
      expected_ = (uint32_t{header_[0]} << 24) | (uint32_t{header_[1]} << 16) |
                  (uint32_t{header_[2]} << 8) | header_[3];
      if (expected_ > maxFrameBytes_) {
        broken_ = true;
        break;
      }
      body_.clear();
    }
    const size_t take = std::min<size_t>(bytes.size(), expected_ - body_.size());
    body_.append(bytes.data(), take);
    bytes.remove_prefix(take);
    buffered_ += take;
    if (body_.size() == expected_) {
      buffered_ -= 4;  // the prefix is not kept
      complete_.push_back(std::move(body_));
      body_ = std::string();
      headerSize_ = 0;
    }
  }
  return !broken_;
}

bool FrameReader::TakeFrame(std::string& body) {
  if (complete_.empty()) return false;
  body = std::move(complete_.front());
  complete_.pop_front();
  buffered_ -= body.size();
  return true;
}

}  // namespace platform::remote
