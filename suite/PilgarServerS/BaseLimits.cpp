#include "suite/PilgarServerS/BaseLimits.h"

#include <vector>

#include "platform/core/SysUtils.h"

namespace pilgar {

namespace {

std::vector<std::string> Split(std::string_view text, char separator) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (;;) {
    const size_t end = text.find(separator, start);
    parts.emplace_back(text.substr(start, end == std::string_view::npos ? end : end - start));
    if (end == std::string_view::npos) return parts;
    start = end + 1;
  }
}

}  // namespace

BaseLimits BaseLimits::Parse(std::string_view text) {
  BaseLimits result;
  const std::vector<std::string> fields = Split(text, '\x03');
  if (fields.size() < 2) return result;
  const auto count = platform::TryStrToInt(platform::Trim(fields[1]));
  if (!count || *count <= 0) return result;
  for (size_t i = 2; i < fields.size() && i < 2 + static_cast<size_t>(*count); ++i) {
    const size_t equals = fields[i].find('=');
    if (equals == std::string::npos) continue;
    const std::string table = platform::UpperCase(platform::Trim(fields[i].substr(0, equals)));
    if (table.empty()) continue;
    std::set<std::string>& codes = result.limits_[table];
    for (const std::string& code : Split(std::string_view(fields[i]).substr(equals + 1), ','))
      if (!platform::Trim(code).empty()) codes.insert(platform::Trim(code));
  }
  return result;
}

bool BaseLimits::Allows(std::string_view table, std::string_view code) const {
  const auto found = limits_.find(platform::UpperCase(table));
  return found == limits_.end() || found->second.count(platform::Trim(code)) > 0;
}

}  // namespace pilgar
