// The comparison the end-to-end scenarios rest on: it must find every
// difference, at the element the array's own bounds name, and let through
// only what a mask allows.

#include "tests/e2e/RequestMatch.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using e2e::CompareRequest;
using suitedb::Json;

// Texts are written with \u escapes: narrow literals here are GB bytes.
// 2024/03/05 12:00:00 as a date value, and a window of a minute around it.
constexpr double kNoon = 45356.5;
const e2e::TTimeWindow kWindow{kNoon - 30.0 / 86400, kNoon + 30.0 / 86400};

const char kStored[] =
    R"({"t":"Array","bounds":[[0,2]],"v":[)"
    R"({"t":"Array","bounds":[[1,3]],"v":[{"t":"OleStr","v":"PVQR82"},{"t":"Integer","v":3},)"
    R"({"t":"Date","v":45356.5,"text":"2024/03/05 12:00:00.000"}]},)"
    R"({"t":"Array","bounds":[[1,1]],"v":[{"t":"Array","bounds":[[0,1]],"v":[{"t":"OleStr","v":"\u9009\u62e9\u65e5\u671f"},{"t":"OleStr","v":"sp03"}]}]},)"
    R"({"t":"Array","bounds":[[1,1]],"v":[{"t":"Array","bounds":[[0,2]],"v":[{"t":"OleStr","v":"\u0004"},{"t":"OleStr","v":"20240101"},{"t":"OleStr","v":"20240131"}]}]}]})";

// kStored with one piece replaced.
std::string Stored(const std::string& from, const std::string& to) {
  std::string text = kStored;
  const size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

TEST(RequestMatch, FindsEachDifferenceAtItsElement) {
  const struct {
    const char* what;
    std::string expected;
    std::vector<std::string> differences;
  } cases[] = {
      {"the same request", kStored, {}},
      {"a text",
       Stored("20240131", "20240130"),
       {R"(request[2][1][2]: expected {"t":"OleStr","v":"20240130"}, found {"t":"OleStr","v":"20240131"})"}},
      {"the range marker",
       Stored(R"(\u0004)", R"(\u0005)"),
       {R"(request[2][1][0]: expected {"t":"OleStr","v":"\u0005"}, found {"t":"OleStr","v":"\u0004"})"}},
      {"a kind",
       Stored(R"({"t":"Integer","v":3})", R"({"t":"SmallInt","v":3})"),
       {R"(request[0][2]: expected {"t":"SmallInt","v":3}, found {"t":"Integer","v":3})"}},
      {"a byte text for a wide one",
       Stored(R"({"t":"OleStr","v":"PVQR82"})", R"({"t":"String","cp":936,"v":"PVQR82"})"),
       {R"(request[0][1]: expected {"t":"String","cp":936,"v":"PVQR82"}, found {"t":"OleStr","v":"PVQR82"})"}},
      {"bounds",
       Stored(R"("bounds":[[0,1]])", R"("bounds":[[1,2]])"),
       {"request[1][1]: expected bounds [[1,2]], found [[0,1]]"}},
      {"a component name",
       Stored("sp03", "sp04"),
       {R"(request[1][1][1]: expected {"t":"OleStr","v":"sp04"}, found {"t":"OleStr","v":"sp03"})"}},
      {"a date",
       Stored("45356.5,", "45356.25,"),
       {R"(request[0][3]: expected {"t":"Date","v":45356.25,"text":"2024/03/05 12:00:00.000"}, found {"t":"Date","v":45356.5,"text":"2024/03/05 12:00:00.000"})"}},
      {"any value", Stored(R"({"t":"OleStr","v":"\u9009\u62e9\u65e5\u671f"})", R"("$any")"), {}},
      {"the time of the run",
       Stored(R"("v":45356.5,"text":"2024/03/05 12:00:00.000")", R"("v":"$now","text":"$now")"),
       {}},
      {"an unknown mask",
       Stored(R"({"t":"OleStr","v":"PVQR82"})", R"("$today")"),
       {R"(request[0][1]: unknown mask "$today")"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CompareRequest(Json::Parse(c.expected), Json::Parse(kStored), kWindow), c.differences)
        << c.what;
  }
}

TEST(RequestMatch, TheTimeOfTheRunIsAWindow) {
  const Json expected = Json::Parse(R"({"t":"Date","v":"$now","text":"$now"})");
  const struct {
    double value;
    const char* text;
    size_t differences;
  } cases[] = {
      {kNoon, "2024/03/05 12:00:00.000", 0},
      {kNoon + 29.0 / 86400, "2024/03/05 12:00:29", 0},
      {kNoon + 5.0 / 1440, "2024/03/05 12:05:00.000", 1},  // after the run
      {kNoon - 1, "2024/03/04 12:00:00.000", 1},           // the day before
      {kNoon, "2024-03-05 12:00:00", 1},                   // not the date text form
  };
  for (const auto& c : cases) {
    Json found = Json::Object();
    found.Add("t", Json::String("Date"));
    found.Add("v", Json::Number(c.value));
    found.Add("text", Json::String(c.text));
    const auto differences = CompareRequest(expected, found, kWindow);
    EXPECT_EQ(differences.size(), c.differences) << c.text;
  }
}

TEST(RequestMatch, CountsOfElementsAndMembers) {
  EXPECT_EQ(CompareRequest(Json::Parse("[1,2]"), Json::Parse("[1,2,3]"), kWindow),
            std::vector<std::string>{"request: expected 2 elements, found 3"});
  EXPECT_EQ(
      CompareRequest(Json::Parse(R"({"t":"Empty"})"), Json::Parse(R"({"t":"Null"})"), kWindow),
      std::vector<std::string>{R"(request: expected {"t":"Empty"}, found {"t":"Null"})"});
  EXPECT_EQ(CompareRequest(Json::Parse(R"({"t":"Boolean","v":true})"),
                           Json::Parse(R"({"t":"Boolean","v":true,"x":1})"), kWindow)
                .size(),
            1u);
}

}  // namespace
