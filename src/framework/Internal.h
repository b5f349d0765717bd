#pragma once

#include <cstdint>
#include <string>

#include "platform/core/Variant.h"

namespace vcl {
class TComponent;
}

// Helpers of the generic window that are not part of its contract.
namespace BaseGene::Internal {

/* The parameters a window running on its own initialises itself with: the
   seed data's administrator, company and database. */
inline constexpr char kStandAloneUser[] = "DS";
inline constexpr char kStandAloneCompany[] = "VRK";
inline constexpr char kStandAloneDatabase[] = "VRKDEMO";

/* A host window handle given as a number (integer or floating). */
intptr_t WindowHandleOf(const platform::Variant& value);
/* Repaints the host's window at once, when it lives in this process. */
void RepaintHostWindow(intptr_t handle);

/* True when the component's text counts as empty for the required-field
   check: it has a Text property whose trimmed value equals the trimmed
   blank text of its edit mask (the text shown for an empty value when the
   mask keeps its literals, else ""). A component without Text is never
   empty. */
bool IsBlankText(vcl::TComponent* component);

/* Stand-in for the auto-update step until the download unit exists: brings
   the work library at Path up to date by the host's file information and
   answers whether it may be used. It answers true without touching the
   file. */
bool UpdateFile(const std::string& fileInfo, const std::string& path, std::string& errorText,
                bool fetchMissing);

}  // namespace BaseGene::Internal
