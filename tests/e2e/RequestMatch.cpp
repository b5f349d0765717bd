#include "tests/e2e/RequestMatch.h"

#include <cmath>
#include <cstdio>
#include <ctime>

namespace e2e {

namespace {

using suitedb::Json;

constexpr double kSecond = 1.0 / 86400;

// Days from 1899-12-30 to a civil date (proleptic Gregorian).
double DaysFromEpoch(int year, int month, int day) {
  // Days from 1970-01-01, Howard Hinnant's civil algorithm.
  year -= month <= 2;
  const int era = (year >= 0 ? year : year - 399) / 400;
  const int yoe = year - era * 400;
  const int doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097.0 + doe - 719468 + 25569;
}

// A date text "yyyy/mm/dd hh:nn:ss[.zzz]" as a date value; NaN otherwise.
double ParseDateText(const std::string& text) {
  int y, mo, d, h, mi, s, ms = 0;
  char tail = 0;
  const int n = std::sscanf(text.c_str(), "%4d/%2d/%2d %2d:%2d:%2d.%3d%c", &y, &mo, &d, &h, &mi, &s,
                            &ms, &tail);
  if (n != 6 && n != 7) return NAN;
  return DaysFromEpoch(y, mo, d) + (h * 3600 + mi * 60 + s + ms / 1000.0) * kSecond;
}

bool IsTaggedArray(const Json& value) {
  if (value.Type() != Json::Kind::Object) return false;
  const Json* tag = value.Find("t");
  return tag && tag->Type() == Json::Kind::String && tag->AsString() == "Array";
}

class Comparer {
 public:
  Comparer(const TTimeWindow& window, std::vector<std::string>& out) : window_(window), out_(out) {}

  void Compare(const Json& expected, const Json& found, const std::string& path) {
    if (expected.Type() == Json::Kind::String && !expected.AsString().empty() &&
        expected.AsString()[0] == '$') {
      Mask(expected.AsString(), found, path);
      return;
    }
    if (IsTaggedArray(expected) && IsTaggedArray(found)) {
      CompareArrays(expected, found, path);
      return;
    }
    if (expected.Type() != found.Type()) {
      Differ(path, expected, found);
      return;
    }
    switch (expected.Type()) {
      case Json::Kind::Null:
        return;
      case Json::Kind::Boolean:
        if (expected.AsBool() != found.AsBool()) Differ(path, expected, found);
        return;
      case Json::Kind::Number:
        if (std::stod(expected.NumberText()) != std::stod(found.NumberText()))
          Differ(path, expected, found);
        return;
      case Json::Kind::String:
        if (expected.AsString() != found.AsString()) Differ(path, expected, found);
        return;
      case Json::Kind::Array:
        CompareItems(expected.Items(), found.Items(), path, 0);
        return;
      case Json::Kind::Object:
        CompareObjects(expected, found, path);
        return;
    }
  }

 private:
  void Differ(const std::string& path, const Json& expected, const Json& found) {
    out_.push_back(path + ": expected " + expected.Dump() + ", found " + found.Dump());
  }

  void Mask(const std::string& mask, const Json& found, const std::string& path) {
    if (mask == "$any") return;
    if (mask == "$now") {
      double value = NAN;
      if (found.Type() == Json::Kind::Number) value = std::stod(found.NumberText());
      if (found.Type() == Json::Kind::String) value = ParseDateText(found.AsString());
      // Date texts carry whole milliseconds, date values a little rounding.
      if (!(value >= window_.From - kSecond && value <= window_.To + kSecond))
        out_.push_back(path + ": expected the time of the run, found " + found.Dump());
      return;
    }
    out_.push_back(path + ": unknown mask \"" + mask + "\"");
  }

  void CompareArrays(const Json& expected, const Json& found, const std::string& path) {
    const Json* eb = expected.Find("bounds");
    const Json* fb = found.Find("bounds");
    const Json* ev = expected.Find("v");
    const Json* fv = found.Find("v");
    if (!eb || !fb || !ev || !fv || ev->Type() != Json::Kind::Array ||
        fv->Type() != Json::Kind::Array) {
      Differ(path, expected, found);
      return;
    }
    if (eb->Dump() != fb->Dump()) {
      out_.push_back(path + ": expected bounds " + eb->Dump() + ", found " + fb->Dump());
      return;
    }
    int lower = 0;
    if (eb->Type() == Json::Kind::Array && eb->Items().size() == 1 &&
        eb->Items()[0].Type() == Json::Kind::Array && !eb->Items()[0].Items().empty())
      lower = std::stoi(eb->Items()[0].Items()[0].NumberText());
    CompareItems(ev->Items(), fv->Items(), path, lower);
  }

  void CompareItems(const std::vector<Json>& expected, const std::vector<Json>& found,
                    const std::string& path, int lower) {
    if (expected.size() != found.size()) {
      out_.push_back(path + ": expected " + std::to_string(expected.size()) + " elements, found " +
                     std::to_string(found.size()));
      return;
    }
    for (size_t i = 0; i < expected.size(); ++i)
      Compare(expected[i], found[i],
              path + "[" + std::to_string(lower + static_cast<int>(i)) + "]");
  }

  // Tagged values other than arrays are reported whole: their kind and value
  // belong together.
  void CompareObjects(const Json& expected, const Json& found, const std::string& path) {
    const auto& em = expected.ObjectMembers();
    const auto& fm = found.ObjectMembers();
    bool same = em.size() == fm.size();
    for (size_t i = 0; same && i < em.size(); ++i) {
      if (em[i].first != fm[i].first) {
        same = false;
        break;
      }
      std::vector<std::string> inner;
      Comparer(window_, inner).Compare(em[i].second, fm[i].second, path);
      same = inner.empty();
    }
    if (!same) Differ(path, expected, found);
  }

  const TTimeWindow& window_;
  std::vector<std::string>& out_;
};

}  // namespace

double NowAsDate() {
  timespec now{};
  ::clock_gettime(CLOCK_REALTIME, &now);
  std::tm local{};
  ::localtime_r(&now.tv_sec, &local);
  return DaysFromEpoch(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday) +
         (local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec +
          static_cast<double>(now.tv_nsec) / 1e9) *
             kSecond;
}

std::vector<std::string> CompareRequest(const suitedb::Json& expected, const suitedb::Json& found,
                                        const TTimeWindow& window, const std::string& name) {
  std::vector<std::string> differences;
  Comparer(window, differences).Compare(expected, found, name);
  return differences;
}

}  // namespace e2e
