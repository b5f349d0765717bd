#pragma once

#include <string>
#include <vector>

#include "platform/vcl/StdCtrls.h"

namespace vcl {

/* A masked edit's input was incomplete when the user left it. */
class EDBEditError : public platform::Exception {
 public:
  using Exception::Exception;
  const char* ClassName() const noexcept override { return "EDBEditError"; }
};

/* An edit mask of the platform: "mask;save;blank".
   The mask field: L letter required, l letter optional, A letter or digit
   required, a optional, C any character required, c optional, 0 digit
   required, 9 digit optional, # digit or sign optional; ":" and "/" stand
   for the time and date separators; "_" shows a blank; "\" makes the next
   character a literal; ">" upper-cases and "<" lower-cases what follows
   ("<>" stops that); "!" fills values from the right (optional characters
   become leading blanks). Any other character is a literal.
   The save field "0" keeps literals out of Text (anything else keeps them);
   the blank field is the character shown for an unfilled position ("_").
   Positions are bytes. */
class TEditMaskRules {
 public:
  explicit TEditMaskRules(const std::string& editMask);

  bool Empty() const { return positions_.empty(); }
  int Length() const { return static_cast<int>(positions_.size()); }
  bool SaveLiterals() const { return saveLiterals_; }
  char Blank() const { return blank_; }
  bool IsLiteral(int index) const { return positions_[static_cast<size_t>(index)].literal; }
  /* Whether Ch may stand at an input position (case not yet applied). */
  bool Accepts(int index, char ch) const;
  bool Required(int index) const;
  char ApplyCase(int index, char ch) const;

  /* The edit text for a value in Text form (literals kept or not per the
     save field; a value's literal is taken only where it matches). */
  std::string Format(const std::string& value) const;
  /* The Text form of an edit text: unfilled positions as blanks, literals
     only when saved. */
  std::string Unformat(const std::string& editText) const;
  /* The edit text of an empty value. */
  std::string BlankEditText() const;
  /* Index of the first required position left unfilled, -1 when none. */
  int FirstMissing(const std::string& editText) const;

 private:
  struct Position {
    bool literal = false;
    char ch = 0;       // the literal, or the mask character
    int caseMode = 0;  // 0 as typed, 1 upper, 2 lower
  };
  std::vector<Position> positions_;
  bool saveLiterals_ = true;
  char blank_ = '_';
  bool reverse_ = false;
};

/* The platform's FormatMaskText. */
std::string FormatMaskText(const std::string& editMask, const std::string& value);

/* The platform's masked edit. With a mask, EditText is what the control
   shows (blank characters where nothing is entered) and Text is the value
   (see TEditMaskRules::Unformat); setting Text formats it, setting EditMask
   reformats the current Text under the new mask. MaxLength becomes the mask
   length. Typing overwrites the position at the caret, skips literals and
   refuses characters the position does not take; Backspace and Delete
   blank positions. OnChange runs as for TEdit (code and user changes).
   Leaving the control after typing with a required position unfilled shows
   the platform's error and keeps the focus there (OnExit does not run). */
class TCustomMaskEdit : public TCustomEdit {
  VCL_CLASS_INFO()
 public:
  explicit TCustomMaskEdit(TComponent* owner);

  const std::string& EditMask() const { return editMask_; }
  void SetEditMask(const std::string& mask);
  bool IsMasked() const { return !rules_.Empty(); }
  std::string EditText() const;
  void SetEditText(const std::string& text);
  /* Raises EDBEditError when a required position is unfilled. */
  void ValidateEdit() const;

  void InsertTypedChar(char ch) override;
  void DoExit() override;
  /* Typing support for the widget: a character at the caret, Backspace,
     Delete. */
  void TypeChar(char ch);
  void EraseBack();
  void EraseForward();

 protected:
  QWidget* CreateWidget(QWidget* parentWidget) override;
  std::string GetText() const override;
  void SetTextInternal(const std::string& text) override;
  QString DisplayText() const override;
  void UserEdited(const QString& shown) override;

 private:
  int CaretPosition() const;
  void SetCaretPosition(int pos);
  void EditedByUser();
  std::string editMask_;
  TEditMaskRules rules_;
  std::string editText_;
};

class TMaskEdit : public TCustomMaskEdit {
  VCL_CLASS_INFO()
 public:
  explicit TMaskEdit(TComponent* owner) : TCustomMaskEdit(owner) {}
};

}  // namespace vcl
