#pragma once

#include <optional>
#include <string>

#include "platform/core/Variant.h"

namespace reportcounter {

/* What the job table keeps beside the request itself (texts in UTF-8). */
struct JobFacts {
  std::string ProgramCode;            // environment 1, upper case
  std::string CompanyID;              // environment 4
  std::string UserID;                 // environment 5
  std::string DbName;                 // environment 6
  std::string ProgramKind;            // environment 9 ("R", "r" for a periodic job)
  std::optional<int> GenerationMode;  // environment 10
  std::string RunAt;                  // environment 11, "yyyy-mm-dd hh:nn:ss", or ""
};

/* Checks the shape of a job request: an array with bounds 0..2 (one-off) or
   0..4 (periodic); element 0 the environment from 1 to its count, holding
   the program code (1), the environment count (2) equal to its upper bound,
   the condition count (3), company (4), user (5) and database (6); elements 1
   and 2 the captions and values from 1 to the condition count, each caption
   an array; for a periodic job element 3 the schedule block (an array) and
   element 4 the dynamic-field block, whose element 0 counts the records up
   to its upper bound. Returns nullopt and fills facts when the request is
   well formed, otherwise the reason (GB text) it is not. */
std::optional<std::string> CheckRequest(const platform::Variant& request, JobFacts& facts);

}  // namespace reportcounter
