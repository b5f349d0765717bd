#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/vcl/Classes.h"

namespace vcl {
class TControl;
}

/* Published properties of components by name, forgiving: an absent object,
   an empty name, or a class that publishes no property of that name (or one
   of another kind) reads as an empty value and makes a write do nothing.
   Nothing here raises for those cases. */
namespace LibRTTI {

/* True when the object's class publishes a property of that name. */
bool HasProperty(const vcl::TObject* object, std::string_view name);

/* A string property's value; "" when there is none. */
std::string GetTextProp(vcl::TObject* object, std::string_view name);
/* Assigns a string property; does nothing when there is none or it is
   read-only. */
void SetTextProp(vcl::TObject* object, std::string_view name, const std::string& value);

/* An integer, character, enumeration or set property's value (enumerations
   by value number, sets as a bit mask); 0 when there is none. */
int64_t GetOrdinalProp(vcl::TObject* object, std::string_view name);
/* Assigns an ordinal property; does nothing when there is none or it is
   read-only. */
void SetOrdinalProp(vcl::TObject* object, std::string_view name, int64_t value);

/* An object property's value; nullptr when there is none. */
vcl::TObject* GetObjectPropValue(vcl::TObject* object, std::string_view name);

/* An event property's method pointer (code, data); an empty one when there
   is none. */
vcl::TMethod GetEventProp(vcl::TObject* object, std::string_view name);
/* Assigns an event property; does nothing when there is none, it is
   read-only, or the method was published with another event type. */
void SetEventProp(vcl::TObject* object, std::string_view name, const vcl::TMethod& method);

/* The named part of a compound control (a select panel's "ListBox", a
   lookup edit's "F2Button"): a component it owns by that name, else a
   control inside it by that name (ignoring case); nullptr when none. */
vcl::TComponent* FindPart(vcl::TComponent* owner, std::string_view name);

/* Presses a control from code: a left-button-down and then a left-button-up
   message with the given parameters. Does nothing for an absent control. */
void ClickControl(vcl::TControl* control, vcl::WPARAM wParam = 0, vcl::LPARAM lParam = 0);

}  // namespace LibRTTI
