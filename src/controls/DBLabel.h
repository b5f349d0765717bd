#pragma once

#include <string>

#include "platform/vcl/StdCtrls.h"
#include "platform/vcl/TypInfo.h"

/* The label that places itself beside the control it names, and the way
   data-aware controls tell the display label of their field. */
namespace DBLabel {

/* What a data set offers the controls that show its fields: the display
   label of a field by name. A data set class implements it; a data source
   publishes the data set as its object property "DataSet". */
class IFieldDisplayLabels {
 public:
  virtual ~IFieldDisplayLabels() = default;
  /* The field's display label; false when the data set has no such field. */
  virtual bool FieldDisplayLabel(const std::string& fieldName, std::string& label) const = 0;
};

/* The display label of the field Control shows: Control publishes an object
   property "DataSource" holding an object whose published "DataSet" is an
   IFieldDisplayLabels, and a string property "DataField" naming the field.
   False (Label untouched) when any of that is missing; never raises. */
bool DataFieldDisplayLabel(vcl::TObject* control, std::string& label);

enum TPos { psTop, psLeft, psRight, psBottom };
extern const vcl::TEnumInfo PosInfo;

/* The error text of a second label for the same control. */
inline constexpr char kDuplicateError[] = "不能同时有两个 DBLabel 指到同一个 Control.";
/* The caption of a new label. */
inline constexpr char kNewCaption[] = "挂靠标签";

/* A label attached to a control (FocusControl) that it places itself
   beside, by Pos and Gap.

   Attaching: among the components owned by the label's parent, another
   TDBLabel already attached to the same control makes the attachment fail
   with kDuplicateError in an error dialog; the old control stays.
   Caption (AutoCaption): the display label of the control's data field
   when it has one (DataFieldDisplayLabel), else left alone.
   Placement (AutoAlign), with C the control: psTop at C's left, Gap above
   C; psBottom at C's left, Gap below C; psLeft ending Gap left of C;
   psRight starting Gap right of C. Beside C the top is C's top when both
   are equally high, else C's top + (C's height - label height) div 2. A
   negative left or top becomes 0. Caption and placement are redone on
   attaching and whenever Pos, Gap, AutoAlign or AutoCaption is set; the
   label does not follow later moves of its control. */
class TDBLabel : public vcl::TLabel {
  VCL_CLASS_INFO()
 public:
  explicit TDBLabel(vcl::TComponent* owner);

  void SetFocusControl(vcl::TWinControl* control);
  TPos Pos() const { return pos_; }
  void SetPos(TPos pos);
  int Gap() const { return gap_; }
  void SetGap(int gap);
  bool AutoAlign() const { return autoAlign_; }
  void SetAutoAlign(bool on);
  bool AutoCaption() const { return autoCaption_; }
  void SetAutoCaption(bool on);

  /* Takes the caption and places the label now (see the class comment). */
  void Attach();

 private:
  TPos pos_ = psLeft;
  int gap_ = 4;
  bool autoAlign_ = true;
  bool autoCaption_ = true;
};

}  // namespace DBLabel
