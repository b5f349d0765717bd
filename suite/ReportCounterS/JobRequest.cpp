#include "suite/ReportCounterS/JobRequest.h"

#include "platform/core/DateTime.h"
#include "platform/core/Format.h"
#include "platform/core/SysUtils.h"
#include "suite/db/Text.h"

namespace reportcounter {

using platform::Variant;
using platform::VarType;

namespace {

bool IsOneDimensional(const Variant& value) { return value.IsArray() && value.DimCount() == 1; }

std::optional<int32_t> IntegerOf(const Variant& value) {
  if (!value.IsNumeric() && value.Type() != VarType::String && value.Type() != VarType::OleStr)
    return std::nullopt;
  try {
    return value.AsInteger();
  } catch (const platform::Exception&) {
    return std::nullopt;
  }
}

// An array from 1 to count; an empty array of any lower bound counts as 1..0.
bool RunsFromOneTo(const Variant& value, int32_t count) {
  if (!IsOneDimensional(value)) return false;
  if (value.HighBound() < value.LowBound()) return count == 0;
  return value.LowBound() == 1 && value.HighBound() == count;
}

}  // namespace

std::optional<std::string> CheckRequest(const Variant& request, JobFacts& facts) {
  if (!IsOneDimensional(request) || request.LowBound() != 0 ||
      (request.HighBound() != 2 && request.HighBound() != 4))
    return std::string("作业请求必须是三个或五个元素的数组（0..2 或 0..4）");
  const Variant& env = request[0];
  if (!IsOneDimensional(env) || env.LowBound() != 1 || env.HighBound() < 6)
    return std::string("环境设置必须是从 1 开始、至少六个元素的数组");
  const std::optional<int32_t> envCount = IntegerOf(env[2]);
  if (!envCount || *envCount != env.HighBound())
    return platform::Format("环境设置的数量（第 2 项）与数组上界 %d 不符", {env.HighBound()});
  facts.ProgramCode = platform::UpperCase(platform::Trim(suitedb::FromClient(env[1])));
  if (facts.ProgramCode.empty()) return std::string("环境设置缺少程序代号（第 1 项）");
  facts.CompanyID = platform::Trim(suitedb::FromClient(env[4]));
  facts.UserID = platform::Trim(suitedb::FromClient(env[5]));
  facts.DbName = platform::Trim(suitedb::FromClient(env[6]));
  if (facts.UserID.empty()) return std::string("环境设置缺少用户代号（第 5 项）");
  const std::optional<int32_t> conditions = IntegerOf(env[3]);
  if (!conditions || *conditions < 0)
    return std::string("环境设置的条件数量（第 3 项）不是有效的整数");
  if (!RunsFromOneTo(request[1], *conditions) || !RunsFromOneTo(request[2], *conditions))
    return platform::Format("条件文字与条件信息必须是从 1 到 %d 的数组", {*conditions});
  for (int32_t i = 1; i <= *conditions; ++i)
    if (!IsOneDimensional(request[1][i])) return platform::Format("第 %d 项条件文字不是数组", {i});
  if (request.HighBound() == 4) {
    if (!IsOneDimensional(request[3])) return std::string("周期设置（第 3 项）不是数组");
    const Variant& dynamic = request[4];
    if (!IsOneDimensional(dynamic) || dynamic.LowBound() != 0 || dynamic.HighBound() < 0)
      return std::string("动态日期字段（第 4 项）不是从 0 开始的数组");
    const std::optional<int32_t> records = IntegerOf(dynamic[0]);
    if (!records || *records != dynamic.HighBound())
      return std::string("动态日期字段的数量与数组上界不符");
  }
  facts.ProgramKind = env.HighBound() >= 9 ? platform::Trim(suitedb::FromClient(env[9])) : "";
  facts.GenerationMode = env.HighBound() >= 10 ? IntegerOf(env[10]) : std::nullopt;
  facts.RunAt.clear();
  if (env.HighBound() >= 11 && env[11].Type() == VarType::Date) {
    const platform::FormatSettings settings;
    facts.RunAt = platform::FormatDateTime("yyyy-mm-dd hh:nn:ss", env[11].AsDate(), settings);
  }
  return std::nullopt;
}

}  // namespace reportcounter
