#include "platform/vcl/Mask.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <algorithm>
#include <cctype>

#include "platform/core/DateTime.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Internal.h"
#include "platform/vcl/TypInfo.h"

namespace vcl {

namespace {

bool IsLetter(char c) {
  unsigned char u = static_cast<unsigned char>(c);
  return std::isalpha(u) || u >= 0x80;
}
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

const char* const kEditError = "Invalid input value.  Use escape key to abandon changes";

}  // namespace

// --- TEditMaskRules --------------------------------------------------------

TEditMaskRules::TEditMaskRules(const std::string& editMask) {
  // Fields are separated by ";" that is not escaped.
  std::vector<std::string> fields(1);
  for (size_t i = 0; i < editMask.size(); ++i) {
    char c = editMask[i];
    if (c == '\\' && i + 1 < editMask.size() && fields.size() == 1) {
      fields.back() += c;
      fields.back() += editMask[++i];
      continue;
    }
    if (c == ';' && fields.size() < 3) {
      fields.emplace_back();
      continue;
    }
    fields.back() += c;
  }
  if (fields.size() > 1 && !fields[1].empty()) saveLiterals_ = fields[1][0] != '0';
  if (fields.size() > 2 && !fields[2].empty()) blank_ = fields[2][0];

  const std::string& mask = fields[0];
  const platform::FormatSettings& fs = platform::GlobalFormatSettings();
  int caseMode = 0;
  for (size_t i = 0; i < mask.size(); ++i) {
    char c = mask[i];
    switch (c) {
      case '!':
        reverse_ = true;
        continue;
      case '>':
        if (i + 1 < mask.size() && mask[i + 1] == '<') {
          caseMode = 0;
          ++i;
        } else {
          caseMode = 1;
        }
        continue;
      case '<':
        caseMode = 2;
        continue;
      case '\\':
        if (i + 1 < mask.size()) positions_.push_back({true, mask[++i], 0});
        continue;
      case 'L':
      case 'l':
      case 'A':
      case 'a':
      case 'C':
      case 'c':
      case '0':
      case '9':
      case '#':
        positions_.push_back({false, c, caseMode});
        continue;
      case ':':
        positions_.push_back({true, fs.TimeSeparator, 0});
        continue;
      case '/':
        positions_.push_back({true, fs.DateSeparator, 0});
        continue;
      case '_':
        positions_.push_back({true, ' ', 0});
        continue;
      default:
        positions_.push_back({true, c, 0});
        continue;
    }
  }
}

bool TEditMaskRules::Accepts(int index, char ch) const {
  const Position& p = positions_[static_cast<size_t>(index)];
  if (p.literal) return false;
  if (ch == ' ') return !Required(index);
  switch (p.ch) {
    case 'L':
    case 'l':
      return IsLetter(ch);
    case 'A':
    case 'a':
      return IsLetter(ch) || IsDigit(ch);
    case 'C':
    case 'c':
      return static_cast<unsigned char>(ch) >= 32;
    case '0':
    case '9':
      return IsDigit(ch);
    case '#':
      return IsDigit(ch) || ch == '+' || ch == '-';
    default:
      return false;
  }
}

bool TEditMaskRules::Required(int index) const {
  const Position& p = positions_[static_cast<size_t>(index)];
  return !p.literal && (p.ch == 'L' || p.ch == 'A' || p.ch == 'C' || p.ch == '0');
}

char TEditMaskRules::ApplyCase(int index, char ch) const {
  int mode = positions_[static_cast<size_t>(index)].caseMode;
  if (mode == 1) return static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
  if (mode == 2) return static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  return ch;
}

std::string TEditMaskRules::BlankEditText() const {
  std::string out;
  for (const Position& p : positions_) out += p.literal ? p.ch : blank_;
  return out;
}

std::string TEditMaskRules::Format(const std::string& value) const {
  std::string out = BlankEditText();
  int n = Length();
  int len = static_cast<int>(value.size());
  auto place = [&](int i, int& v, int step) {
    const Position& p = positions_[static_cast<size_t>(i)];
    bool inRange = v >= 0 && v < len;
    if (p.literal) {
      if (inRange && value[static_cast<size_t>(v)] == p.ch) v += step;
      return;
    }
    if (!inRange) return;
    char c = value[static_cast<size_t>(v)];
    v += step;
    if (c != ' ' && c != blank_) out[static_cast<size_t>(i)] = ApplyCase(i, c);
  };
  if (reverse_) {
    int v = len - 1;
    for (int i = n - 1; i >= 0; --i) place(i, v, -1);
  } else {
    int v = 0;
    for (int i = 0; i < n; ++i) place(i, v, 1);
  }
  return out;
}

std::string TEditMaskRules::Unformat(const std::string& editText) const {
  std::string out;
  for (int i = 0; i < Length(); ++i) {
    const Position& p = positions_[static_cast<size_t>(i)];
    char c = i < static_cast<int>(editText.size()) ? editText[static_cast<size_t>(i)] : blank_;
    if (p.literal) {
      if (saveLiterals_) out += p.ch;
    } else {
      out += c == blank_ ? ' ' : c;
    }
  }
  return out;
}

int TEditMaskRules::FirstMissing(const std::string& editText) const {
  for (int i = 0; i < Length(); ++i) {
    if (!Required(i)) continue;
    char c = i < static_cast<int>(editText.size()) ? editText[static_cast<size_t>(i)] : blank_;
    if (c == blank_ || c == ' ') return i;
  }
  return -1;
}

std::string FormatMaskText(const std::string& editMask, const std::string& value) {
  TEditMaskRules rules(editMask);
  if (rules.Empty()) return value;
  return rules.Format(value);
}

// --- TCustomMaskEdit -------------------------------------------------------

namespace {
// A text shown anew by code leaves the caret at the start, as the
// platform's edit does; Qt leaves it at the end, where a masked edit takes
// no typing (a date field gets its mask when it is entered, for example).
QString ShownText(QWidget* widget) {
  auto* e = qobject_cast<QLineEdit*>(widget);
  return e ? e->text() : QString();
}
void CaretToStartIfChanged(QWidget* widget, const QString& before) {
  auto* e = qobject_cast<QLineEdit*>(widget);
  if (!e || e->text() == before) return;
  internal::QuietScope quiet;
  e->setCursorPosition(0);
}

class MaskLineEdit : public QLineEdit {
 public:
  MaskLineEdit(TCustomMaskEdit* owner, QWidget* parent) : QLineEdit(parent), owner_(owner) {}

 protected:
  void keyPressEvent(QKeyEvent* e) override {
    if (internal::Quiet() || !IsLiveComponent(owner_) || !owner_->IsMasked() || isReadOnly()) {
      QLineEdit::keyPressEvent(e);
      return;
    }
    switch (e->key()) {
      case Qt::Key_Backspace:
        owner_->EraseBack();
        return;
      case Qt::Key_Delete:
        owner_->EraseForward();
        return;
      case Qt::Key_Left:
      case Qt::Key_Right:
      case Qt::Key_Home:
      case Qt::Key_End:
        QLineEdit::keyPressEvent(e);
        return;
      default:
        break;
    }
    QString t = e->text();
    if (t.size() == 1 && t[0].unicode() >= 32 && t[0].unicode() < 0x7F &&
        !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
      owner_->TypeChar(static_cast<char>(t[0].unicode()));
      return;
    }
    e->ignore();
  }

 private:
  TCustomMaskEdit* owner_;
};
}  // namespace

const TClassInfo* TCustomMaskEdit::StaticClassInfo() {
  using P = PropBuilder<TCustomMaskEdit>;
  static const TClassInfo info(
      "TCustomMaskEdit", TCustomEdit::StaticClassInfo(),
      {P::String<&TCustomMaskEdit::EditMask, &TCustomMaskEdit::SetEditMask>("EditMask",
                                                                            "TEditMask")});
  return &info;
}

const TClassInfo* TMaskEdit::StaticClassInfo() {
  using P = PropBuilder<TMaskEdit>;
  static const TClassInfo info(
      "TMaskEdit", TCustomMaskEdit::StaticClassInfo(),
      {P::String<&TMaskEdit::Text, &TMaskEdit::SetText>("Text", "TCaption")});
  return &info;
}

TCustomMaskEdit::TCustomMaskEdit(TComponent* owner) : TCustomEdit(owner), rules_("") {}

QWidget* TCustomMaskEdit::CreateWidget(QWidget* parentWidget) {
  auto* edit = new MaskLineEdit(this, parentWidget);
  QObject::connect(edit, &QLineEdit::textEdited, [this](const QString& s) {
    if (!internal::Quiet() && IsLiveComponent(this) && !Disposed()) UserEdited(s);
  });
  return edit;
}

void TCustomMaskEdit::SetEditMask(const std::string& mask) {
  if (mask == editMask_) return;
  std::string value = GetText();
  editMask_ = mask;
  rules_ = TEditMaskRules(mask);
  if (IsMasked()) {
    SetMaxLength(rules_.Length());
    editText_ = rules_.Format(value);
  } else {
    SetMaxLength(0);
    text_ = value;
  }
  const QString before = ShownText(Widget());
  TextChanged();
  CaretToStartIfChanged(Widget(), before);
}

std::string TCustomMaskEdit::EditText() const { return IsMasked() ? editText_ : text_; }

void TCustomMaskEdit::SetEditText(const std::string& text) {
  if (!IsMasked()) {
    SetText(text);
    return;
  }
  std::string t = text.substr(0, static_cast<size_t>(rules_.Length()));
  std::string blank = rules_.BlankEditText();
  t += blank.substr(t.size());
  if (t == editText_) return;
  editText_ = t;
  SetModified(false);
  const QString before = ShownText(Widget());
  TextChanged();
  CaretToStartIfChanged(Widget(), before);
  Change();
}

std::string TCustomMaskEdit::GetText() const {
  return IsMasked() ? rules_.Unformat(editText_) : TCustomEdit::GetText();
}

void TCustomMaskEdit::SetTextInternal(const std::string& text) {
  if (!IsMasked()) {
    TCustomEdit::SetTextInternal(text);
    return;
  }
  std::string formatted = rules_.Format(text);
  editText_ = formatted;
  SetModified(false);
  const QString before = ShownText(Widget());
  TextChanged();
  CaretToStartIfChanged(Widget(), before);
  Change();
}

QString TCustomMaskEdit::DisplayText() const { return QtText(EditText()); }

void TCustomMaskEdit::UserEdited(const QString& shown) {
  if (!IsMasked()) {
    TCustomEdit::UserEdited(shown);
    return;
  }
  std::string t = FromQtText(shown).substr(0, static_cast<size_t>(rules_.Length()));
  t += rules_.BlankEditText().substr(t.size());
  if (t == editText_) return;
  editText_ = t;
  TextChanged();
  EditedByUser();
}

void TCustomMaskEdit::EditedByUser() {
  SetModified(true);
  Change();
}

int TCustomMaskEdit::CaretPosition() const {
  if (auto* e = qobject_cast<QLineEdit*>(Widget())) return e->cursorPosition();
  return SelStart();
}

void TCustomMaskEdit::SetCaretPosition(int pos) {
  if (auto* e = qobject_cast<QLineEdit*>(Widget())) {
    internal::QuietScope quiet;
    e->setCursorPosition(pos);
  } else {
    SetSelStart(pos);
  }
}

void TCustomMaskEdit::TypeChar(char ch) {
  if (!IsMasked()) {
    TCustomEdit::InsertTypedChar(ch);
    return;
  }
  int n = rules_.Length();
  int p = CaretPosition();
  // A selection (all of it after entering the edit) is blanked and typing
  // starts where it began, as in the platform's masked edit; a character
  // refused there changes nothing.
  auto* line = qobject_cast<QLineEdit*>(Widget());
  const bool replace = line && line->selectionLength() > 1;
  if (replace) p = line->selectionStart();
  while (p < n && rules_.IsLiteral(p)) ++p;
  if (p >= n || !rules_.Accepts(p, ch)) return;
  if (replace) {
    const int start = line->selectionStart();
    const int end = std::min(n, start + static_cast<int>(line->selectionLength()));
    for (int i = start; i < end; ++i)
      if (!rules_.IsLiteral(i)) editText_[static_cast<size_t>(i)] = rules_.Blank();
    line->deselect();
  }
  editText_[static_cast<size_t>(p)] = ch == ' ' ? rules_.Blank() : rules_.ApplyCase(p, ch);
  int next = p + 1;
  while (next < n && rules_.IsLiteral(next)) ++next;
  TextChanged();
  SetCaretPosition(next);
  EditedByUser();
}

void TCustomMaskEdit::EraseBack() {
  int p = CaretPosition() - 1;
  while (p >= 0 && rules_.IsLiteral(p)) --p;
  if (p < 0) return;
  editText_[static_cast<size_t>(p)] = rules_.Blank();
  TextChanged();
  SetCaretPosition(p);
  EditedByUser();
}

void TCustomMaskEdit::EraseForward() {
  int n = rules_.Length();
  int p = CaretPosition();
  while (p < n && rules_.IsLiteral(p)) ++p;
  if (p >= n) return;
  int caret = CaretPosition();
  editText_[static_cast<size_t>(p)] = rules_.Blank();
  TextChanged();
  SetCaretPosition(caret);
  EditedByUser();
}

void TCustomMaskEdit::InsertTypedChar(char ch) { TypeChar(ch); }

void TCustomMaskEdit::ValidateEdit() const {
  if (IsMasked() && rules_.FirstMissing(editText_) >= 0) throw EDBEditError(kEditError);
}

void TCustomMaskEdit::DoExit() {
  if (IsMasked() && Modified() && rules_.FirstMissing(editText_) >= 0) {
    int missing = rules_.FirstMissing(editText_);
    Application->ShowException(EDBEditError(kEditError));
    if (IsLiveComponent(this) && !Disposed() && CanFocus()) {
      SetFocus();
      SetCaretPosition(missing);
    }
    return;
  }
  TCustomEdit::DoExit();
}

}  // namespace vcl
