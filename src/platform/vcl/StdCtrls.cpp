#include "platform/vcl/StdCtrls.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTextBlock>
#include <QTextCursor>
#include <algorithm>

#include "platform/vcl/Forms.h"
#include "platform/vcl/Internal.h"
#include "platform/vcl/TypInfo.h"

namespace vcl {

namespace {

const TEnumInfo kAlignmentInfo{"TAlignment", {"taLeftJustify", "taRightJustify", "taCenter"}};
const TEnumInfo kTextLayoutInfo{"TTextLayout", {"tlTop", "tlCenter", "tlBottom"}};
const TEnumInfo kCharCaseInfo{"TEditCharCase", {"ecNormal", "ecUpperCase", "ecLowerCase"}};
const TEnumInfo kBorderStyleInfo{"TBorderStyle", {"bsNone", "bsSingle"}};
const TEnumInfo kScrollStyleInfo{"TScrollStyle",
                                 {"ssNone", "ssHorizontal", "ssVertical", "ssBoth"}};
const TEnumInfo kComboStyleInfo{
    "TComboBoxStyle",
    {"csDropDown", "csSimple", "csDropDownList", "csOwnerDrawFixed", "csOwnerDrawVariable"}};
const TEnumInfo kCheckStateInfo{"TCheckBoxState", {"cbUnchecked", "cbChecked", "cbGrayed"}};

/* "&x" accelerators: removed for display ("&&" stays one "&"). */
QString StripAccel(const QString& s) {
  QString out;
  for (qsizetype i = 0; i < s.size(); ++i) {
    if (s[i] == '&') {
      if (i + 1 < s.size() && s[i + 1] == '&') {
        out += '&';
        ++i;
      }
      continue;
    }
    out += s[i];
  }
  return out;
}

int ByteLength(const TControl* c, const QString& s) {
  return static_cast<int>(c->FromQtText(s).size());
}

/* The character index in Shown at which the first Bytes bytes end. */
int CharIndexOfByte(const TControl* c, const QString& shown, int bytes) {
  int pos = 0;
  for (qsizetype i = 0; i <= shown.size(); ++i) {
    if (pos >= bytes) return static_cast<int>(i);
    if (i < shown.size()) pos += ByteLength(c, QString(shown[i]));
  }
  return static_cast<int>(shown.size());
}

// Sizes of one-line texts by font and text. A label measures its caption
// at every change of its caption and font and when its widget is made; the
// measuring (shaping the text) costs more than all the rest of its work,
// and windows show the same few fonts and captions again and again.
QSize OneLineTextSize(const QFont& font, const QString& text) {
  static QHash<QString, QSize> sizes;
  const QString key = font.key() + QChar(0) + text;
  if (auto it = sizes.constFind(key); it != sizes.constEnd()) return *it;
  if (sizes.size() >= 4096) sizes.clear();
  const QFontMetrics fm(font);
  const QSize size(fm.horizontalAdvance(text), fm.height());
  sizes.insert(key, size);
  return size;
}

}  // namespace

// --- TCustomLabel ----------------------------------------------------------

const TClassInfo* TCustomLabel::StaticClassInfo() {
  using P = PropBuilder<TCustomLabel>;
  static const TClassInfo info(
      "TCustomLabel", TGraphicControl::StaticClassInfo(),
      {
          P::Enum<&TCustomLabel::Alignment, &TCustomLabel::SetAlignment>("Alignment",
                                                                         &kAlignmentInfo),
          P::Bool<&TCustomLabel::AutoSize, &TCustomLabel::SetAutoSize>("AutoSize"),
          P::String<&TCustomLabel::Caption, &TCustomLabel::SetCaption>("Caption", "TCaption"),
          P::Object<&TCustomLabel::FocusControl, &TCustomLabel::SetFocusControl>("FocusControl",
                                                                                 "TWinControl"),
          P::Enum<&TCustomLabel::Layout, &TCustomLabel::SetLayout>("Layout", &kTextLayoutInfo),
          P::Bool<&TCustomLabel::ShowAccelChar, &TCustomLabel::SetShowAccelChar>("ShowAccelChar"),
          P::Bool<&TCustomLabel::Transparent, &TCustomLabel::SetTransparent>("Transparent"),
          P::Bool<&TCustomLabel::WordWrap, &TCustomLabel::SetWordWrap>("WordWrap"),
      });
  return &info;
}

const TClassInfo* TLabel::StaticClassInfo() {
  static const TClassInfo info("TLabel", TCustomLabel::StaticClassInfo());
  return &info;
}

TCustomLabel::TCustomLabel(TComponent* owner) : TGraphicControl(owner) {
  SetBounds(0, 0, 65, 17);
  SetParentColor(true);
}

QWidget* TCustomLabel::CreateWidget(QWidget* parentWidget) { return new QLabel(parentWidget); }

void TCustomLabel::InitWidget() {
  TGraphicControl::InitWidget();
  UpdateLabel();
}

void TCustomLabel::UpdateLabel() {
  auto* label = qobject_cast<QLabel*>(Widget());
  if (label) {
    internal::QuietScope quiet;
    QString text = QtText(GetText());
    bool buddy = focusControl_ && focusControl_->HandleAllocated() && showAccelChar_;
    if (buddy) {
      label->setText(text);
      label->setBuddy(focusControl_->Handle());
    } else {
      label->setBuddy(nullptr);
      label->setText(showAccelChar_ ? StripAccel(text) : text);
    }
    Qt::Alignment a = alignment_ == taCenter         ? Qt::AlignHCenter
                      : alignment_ == taRightJustify ? Qt::AlignRight
                                                     : Qt::AlignLeft;
    a |= layout_ == tlCenter   ? Qt::AlignVCenter
         : layout_ == tlBottom ? Qt::AlignBottom
                               : Qt::AlignTop;
    label->setAlignment(a);
    label->setWordWrap(wordWrap_);
    label->setAutoFillBackground(!transparent_);
  }
  if (autoSize_) AdjustBounds();
}

void TCustomLabel::AdjustBounds() {
  QString text = QtText(GetText());
  if (showAccelChar_) text = StripAccel(text);
  if (text.isEmpty()) text = " ";
  const QFont font = Font()->ToQFont();
  int w, h;
  if (wordWrap_) {
    w = Width();
    h = QFontMetrics(font)
            .boundingRect(QRect(0, 0, std::max(1, Width()), 10000), Qt::TextWordWrap, text)
            .height();
  } else {
    const QSize size = OneLineTextSize(font, text);
    w = size.width();
    h = size.height();
  }
  int left = Left();
  if (alignment_ == taRightJustify && !wordWrap_) left = Left() + Width() - w;
  SetBounds(left, Top(), w, h);
}

void TCustomLabel::TextChanged() { UpdateLabel(); }

void TCustomLabel::FontChanged() {
  TGraphicControl::FontChanged();
  UpdateLabel();
}

void TCustomLabel::ColorChanged() {
  TGraphicControl::ColorChanged();
  if (QWidget* w = Widget()) w->setAutoFillBackground(!transparent_);
}

void TCustomLabel::SetAutoSize(bool on) {
  autoSize_ = on;
  if (on) AdjustBounds();
}

void TCustomLabel::SetFocusControl(TWinControl* control) {
  if (focusControl_ == control) return;
  if (focusControl_) focusControl_->RemoveFreeNotification(this);
  focusControl_ = control;
  if (control) control->FreeNotification(this);
  UpdateLabel();
}

void TCustomLabel::SetShowAccelChar(bool on) {
  showAccelChar_ = on;
  UpdateLabel();
}

void TCustomLabel::SetAlignment(TAlignment a) {
  alignment_ = a;
  UpdateLabel();
}

void TCustomLabel::SetLayout(TTextLayout l) {
  layout_ = l;
  UpdateLabel();
}

void TCustomLabel::SetWordWrap(bool on) {
  wordWrap_ = on;
  UpdateLabel();
}

void TCustomLabel::SetTransparent(bool on) {
  transparent_ = on;
  UpdateLabel();
}

bool TCustomLabel::DialogChar(char key) {
  if (!showAccelChar_ || !IsAccel(key, GetText()) || !focusControl_ || !focusControl_->CanFocus())
    return false;
  focusControl_->SetFocus();
  return true;
}

void TCustomLabel::Notification(TComponent* component, TOperation operation) {
  TGraphicControl::Notification(component, operation);
  if (operation == opRemove && component == focusControl_) {
    focusControl_ = nullptr;
    if (!Disposed()) UpdateLabel();
  }
}

// --- TCustomEdit -----------------------------------------------------------

const TClassInfo* TCustomEdit::StaticClassInfo() {
  using P = PropBuilder<TCustomEdit>;
  static const TClassInfo info(
      "TCustomEdit", TWinControl::StaticClassInfo(),
      {
          P::Bool<&TCustomEdit::AutoSelect, &TCustomEdit::SetAutoSelect>("AutoSelect"),
          P::Enum<&TCustomEdit::BorderStyle, &TCustomEdit::SetBorderStyle>("BorderStyle",
                                                                           &kBorderStyleInfo),
          P::Enum<&TCustomEdit::CharCase, &TCustomEdit::SetCharCase>("CharCase", &kCharCaseInfo),
          P::String<&TCustomEdit::ImeName, &TCustomEdit::SetImeName>("ImeName", "TImeName"),
          P::Integer<&TCustomEdit::MaxLength, &TCustomEdit::SetMaxLength>("MaxLength"),
          P::Char<&TCustomEdit::PasswordChar, &TCustomEdit::SetPasswordChar>("PasswordChar"),
          P::Bool<&TCustomEdit::ReadOnly, &TCustomEdit::SetReadOnly>("ReadOnly"),
          P::Event<&TCustomEdit::OnChange>("OnChange"),
      });
  return &info;
}

const TClassInfo* TEdit::StaticClassInfo() {
  using P = PropBuilder<TEdit>;
  static const TClassInfo info("TEdit", TCustomEdit::StaticClassInfo(),
                               {P::String<&TEdit::Text, &TEdit::SetText>("Text", "TCaption")});
  return &info;
}

TCustomEdit::TCustomEdit(TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 121, 21);
  SetTabStop(true);
  SetColor(clWindow);
  SetParentColor(false);
}

QLineEdit* TCustomEdit::LineEdit() const { return qobject_cast<QLineEdit*>(Widget()); }

QWidget* TCustomEdit::CreateWidget(QWidget* parentWidget) {
  auto* edit = new QLineEdit(parentWidget);
  QObject::connect(edit, &QLineEdit::textEdited, [this](const QString& s) {
    if (!internal::Quiet() && IsLiveComponent(this) && !Disposed()) UserEdited(s);
  });
  return edit;
}

QWidget* TCustomEdit::FocusWidget() { return Handle(); }

void TCustomEdit::InitWidget() {
  TWinControl::InitWidget();
  if (QLineEdit* e = LineEdit()) {
    e->setReadOnly(readOnly_);
    e->setFrame(borderStyle_ != bsNone);
    e->setEchoMode(passwordChar_ ? QLineEdit::Password : QLineEdit::Normal);
  }
  // Entered before its widget existed (a window focusing its first control
  // while it is being shown): the selection of the entry is made now.
  if (autoSelect_ && Focused()) SelectAll();
}

QString TCustomEdit::DisplayText() const { return QtText(GetText()); }

void TCustomEdit::ShowText(const QString& shown) {
  QLineEdit* e = LineEdit();
  if (!e || e->text() == shown) return;
  internal::QuietScope quiet;
  e->setText(shown);
}

void TCustomEdit::TextChanged() { ShowText(DisplayText()); }

void TCustomEdit::ColorChanged() { TWinControl::ColorChanged(); }

void TCustomEdit::SetTextInternal(const std::string& text) {
  std::string t = text;
  if (charCase_ == ecUpperCase)
    for (char& c : t) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
  if (charCase_ == ecLowerCase)
    for (char& c : t) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
  text_ = t;
  modified_ = false;
  TextChanged();
  Change();
}

void TCustomEdit::UserEdited(const QString& shown) {
  QString s = shown;
  if (charCase_ == ecUpperCase) s = s.toUpper();
  if (charCase_ == ecLowerCase) s = s.toLower();
  std::string bytes = FromQtText(s);
  if (maxLength_ > 0 && static_cast<int>(bytes.size()) > maxLength_) {
    // Refuse what goes past the limit, as the platform's edit does.
    QLineEdit* e = LineEdit();
    int cursor = e ? e->cursorPosition() : 0;
    ShowText(DisplayText());
    if (e)
      e->setCursorPosition(
          std::min<int>(cursor - 1 < 0 ? 0 : cursor - 1, static_cast<int>(e->text().size())));
    return;
  }
  if (s != shown) ShowText(s);
  if (bytes == text_) return;
  text_ = bytes;
  modified_ = true;
  Change();
}

void TCustomEdit::Change() { OnChange(this); }

void TCustomEdit::SetMaxLength(int length) { maxLength_ = std::max(0, length); }

void TCustomEdit::SetReadOnly(bool on) {
  readOnly_ = on;
  if (QLineEdit* e = LineEdit()) e->setReadOnly(on);
}

void TCustomEdit::SetPasswordChar(char c) {
  passwordChar_ = c;
  if (QLineEdit* e = LineEdit()) e->setEchoMode(c ? QLineEdit::Password : QLineEdit::Normal);
}

void TCustomEdit::SetCharCase(TEditCharCase c) {
  charCase_ = c;
  if (c != ecNormal) SetTextInternal(text_);
}

void TCustomEdit::SetBorderStyle(TBorderStyle s) {
  borderStyle_ = s;
  if (QLineEdit* e = LineEdit()) e->setFrame(s != bsNone);
}

int TCustomEdit::SelStart() const {
  if (QLineEdit* e = LineEdit()) {
    int start = e->hasSelectedText() ? e->selectionStart() : e->cursorPosition();
    return ByteLength(this, e->text().left(start));
  }
  return selStart_;
}

void TCustomEdit::SetSelStart(int start) {
  selStart_ = start;
  selLength_ = 0;
  if (QLineEdit* e = LineEdit()) {
    internal::QuietScope quiet;
    e->setCursorPosition(CharIndexOfByte(this, e->text(), start));
  }
}

int TCustomEdit::SelLength() const {
  if (QLineEdit* e = LineEdit()) return ByteLength(this, e->selectedText());
  return selLength_;
}

void TCustomEdit::SetSelLength(int length) {
  selLength_ = length;
  if (QLineEdit* e = LineEdit()) {
    internal::QuietScope quiet;
    int start = CharIndexOfByte(this, e->text(), SelStart());
    int end = CharIndexOfByte(this, e->text(), SelStart() + length);
    e->setSelection(start, end - start);
  }
}

std::string TCustomEdit::SelText() const {
  if (QLineEdit* e = LineEdit()) return FromQtText(e->selectedText());
  int len = static_cast<int>(text_.size());
  int s = std::clamp(selStart_, 0, len);
  return text_.substr(static_cast<size_t>(s),
                      static_cast<size_t>(std::clamp(selLength_, 0, len - s)));
}

void TCustomEdit::SelectAll() {
  selStart_ = 0;
  selLength_ = static_cast<int>(text_.size());
  if (QLineEdit* e = LineEdit()) {
    internal::QuietScope quiet;
    e->selectAll();
  }
}

void TCustomEdit::InsertTypedChar(char ch) {
  if (QLineEdit* e = LineEdit()) {
    if (e->isReadOnly() || static_cast<unsigned char>(ch) < 32) return;
    QString s = e->text();
    int pos = e->cursorPosition();
    if (e->hasSelectedText()) {
      pos = e->selectionStart();
      s.remove(pos, e->selectedText().size());
    }
    s.insert(pos, QChar(static_cast<ushort>(static_cast<unsigned char>(ch))));
    {
      internal::QuietScope quiet;
      e->setText(s);
      e->setCursorPosition(pos + 1);
    }
    UserEdited(s);
  }
}

void TCustomEdit::DoEnter() {
  if (autoSelect_ && LineEdit()) SelectAll();
  TWinControl::DoEnter();
}

// --- TCustomMemo -----------------------------------------------------------

const TClassInfo* TCustomMemo::StaticClassInfo() {
  using P = PropBuilder<TCustomMemo>;
  static const TClassInfo info(
      "TCustomMemo", TCustomEdit::StaticClassInfo(),
      {
          P::Object<&TCustomMemo::Lines, &TCustomMemo::SetLines>("Lines", "TStrings"),
          P::Enum<&TCustomMemo::ScrollBars, &TCustomMemo::SetScrollBars>("ScrollBars",
                                                                         &kScrollStyleInfo),
          P::Bool<&TCustomMemo::WantReturns, &TCustomMemo::SetWantReturns>("WantReturns"),
          P::Bool<&TCustomMemo::WantTabs, &TCustomMemo::SetWantTabs>("WantTabs"),
          P::Bool<&TCustomMemo::WordWrap, &TCustomMemo::SetWordWrap>("WordWrap"),
      });
  return &info;
}

const TClassInfo* TMemo::StaticClassInfo() {
  static const TClassInfo info("TMemo", TCustomMemo::StaticClassInfo());
  return &info;
}

TCustomMemo::TCustomMemo(TComponent* owner)
    : TCustomEdit(owner), lines_(std::make_unique<TStringList>()) {
  SetBounds(0, 0, 185, 89);
  lines_->SetChangeHook([this] { LinesChanged(); });
}

TCustomMemo::~TCustomMemo() { lines_->SetChangeHook(nullptr); }

TStrings* TCustomMemo::Lines() const { return lines_.get(); }
void TCustomMemo::SetLines(TStrings* lines) { lines_->Assign(lines); }

namespace {
QPlainTextEdit* MemoWidget(QWidget* w) { return qobject_cast<QPlainTextEdit*>(w); }
}  // namespace

QWidget* TCustomMemo::CreateWidget(QWidget* parentWidget) {
  auto* edit = new QPlainTextEdit(parentWidget);
  QObject::connect(edit, &QPlainTextEdit::textChanged, [this] {
    if (!internal::Quiet() && IsLiveComponent(this) && !Disposed()) UserTyped();
  });
  return edit;
}

QWidget* TCustomMemo::FocusWidget() { return Handle(); }

void TCustomMemo::InitWidget() {
  TWinControl::InitWidget();
  if (auto* e = MemoWidget(Widget())) {
    e->setReadOnly(ReadOnly());
    e->setLineWrapMode(wordWrap_ ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    e->setTabChangesFocus(!wantTabs_);
    SetScrollBars(scrollBars_);
  }
}

std::string TCustomMemo::GetText() const {
  std::string out;
  for (int i = 0; i < lines_->Count(); ++i) {
    if (i) out += "\r\n";
    out += lines_->Get(i);
  }
  return out;
}

void TCustomMemo::SetTextInternal(const std::string& text) {
  updating_ = true;
  lines_->SetText(text);
  updating_ = false;
  TextChanged();
  Change();
}

void TCustomMemo::LinesChanged() {
  if (updating_) return;
  TextChanged();
  Change();
}

void TCustomMemo::TextChanged() {
  auto* e = MemoWidget(Widget());
  if (!e) return;
  QString shown = QtText(GetText());
  shown.replace("\r\n", "\n");
  if (e->toPlainText() == shown) return;
  internal::QuietScope quiet;
  e->setPlainText(shown);
}

void TCustomMemo::ColorChanged() { TWinControl::ColorChanged(); }

void TCustomMemo::UserTyped() {
  auto* e = MemoWidget(Widget());
  if (!e) return;
  std::string bytes = FromQtText(e->toPlainText());
  std::string text;
  for (char c : bytes) {
    if (c == '\n')
      text += "\r\n";
    else
      text += c;
  }
  if (text == GetText()) return;
  updating_ = true;
  lines_->SetText(text);
  // A final line break makes an empty last line in a memo.
  if (!text.empty() && text.back() == '\n') lines_->Add("");
  updating_ = false;
  SetModified(true);
  Change();
}

void TCustomMemo::SetWordWrap(bool on) {
  wordWrap_ = on;
  if (auto* e = MemoWidget(Widget()))
    e->setLineWrapMode(on ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
}

void TCustomMemo::SetScrollBars(TScrollStyle s) {
  scrollBars_ = s;
  if (auto* e = MemoWidget(Widget())) {
    e->setHorizontalScrollBarPolicy(s == ssHorizontal || s == ssBoth ? Qt::ScrollBarAlwaysOn
                                                                     : Qt::ScrollBarAlwaysOff);
    e->setVerticalScrollBarPolicy(s == ssVertical || s == ssBoth ? Qt::ScrollBarAlwaysOn
                                                                 : Qt::ScrollBarAlwaysOff);
  }
}

TPoint TCustomMemo::CaretPos() const {
  if (auto* e = MemoWidget(Widget())) {
    QTextCursor c = e->textCursor();
    QString line = c.block().text().left(c.positionInBlock());
    return {ByteLength(this, line), c.blockNumber()};
  }
  return caret_;
}

void TCustomMemo::SetCaretPos(TPoint pos) {
  caret_ = pos;
  if (auto* e = MemoWidget(Widget())) {
    QTextBlock block = e->document()->findBlockByNumber(std::max(0, pos.Y));
    if (!block.isValid()) block = e->document()->lastBlock();
    QTextCursor c(block);
    c.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor,
                   CharIndexOfByte(this, block.text(), pos.X));
    internal::QuietScope quiet;
    e->setTextCursor(c);
  }
}

bool TCustomMemo::WantsKey(Word key, TShiftState) const {
  if (key == VK_RETURN) return wantReturns_;
  if (key == VK_TAB) return wantTabs_;
  return key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN;
}

void TCustomMemo::InsertTypedChar(char ch) {
  if (auto* e = MemoWidget(Widget())) {
    if (e->isReadOnly()) return;
    e->insertPlainText(QString(QChar(static_cast<ushort>(static_cast<unsigned char>(ch)))));
  }
}

// --- TCustomComboBox -------------------------------------------------------

const TClassInfo* TCustomComboBox::StaticClassInfo() {
  using P = PropBuilder<TCustomComboBox>;
  static const TClassInfo info(
      "TCustomComboBox", TWinControl::StaticClassInfo(),
      {
          P::Integer<&TCustomComboBox::DropDownCount, &TCustomComboBox::SetDropDownCount>(
              "DropDownCount"),
          P::String<&TCustomComboBox::ImeName, &TCustomComboBox::SetImeName>("ImeName", "TImeName"),
          P::Integer<&TCustomComboBox::ItemHeight, &TCustomComboBox::SetItemHeight>("ItemHeight"),
          P::Integer<&TCustomComboBox::ItemIndex, &TCustomComboBox::SetItemIndex>("ItemIndex"),
          P::Object<&TCustomComboBox::Items, &TCustomComboBox::SetItems>("Items", "TStrings"),
          P::Integer<&TCustomComboBox::MaxLength, &TCustomComboBox::SetMaxLength>("MaxLength"),
          P::Bool<&TCustomComboBox::Sorted, &TCustomComboBox::SetSorted>("Sorted"),
          P::Enum<&TCustomComboBox::Style, &TCustomComboBox::SetStyle>("Style", &kComboStyleInfo),
          P::String<&TCustomComboBox::Text, &TCustomComboBox::SetText>("Text", "TCaption"),
          P::Event<&TCustomComboBox::OnChange>("OnChange"),
          P::Event<&TCustomComboBox::OnCloseUp>("OnCloseUp"),
          P::Event<&TCustomComboBox::OnDropDown>("OnDropDown"),
      });
  return &info;
}

const TClassInfo* TComboBox::StaticClassInfo() {
  static const TClassInfo info("TComboBox", TCustomComboBox::StaticClassInfo());
  return &info;
}

TCustomComboBox::TCustomComboBox(TComponent* owner)
    : TWinControl(owner), items_(std::make_unique<TStringList>()) {
  SetBounds(0, 0, 145, 21);
  SetTabStop(true);
  SetColor(clWindow);
  items_->SetChangeHook([this] { ItemsChanged(); });
}

TCustomComboBox::~TCustomComboBox() { items_->SetChangeHook(nullptr); }

TStrings* TCustomComboBox::Items() const { return items_.get(); }
void TCustomComboBox::SetItems(TStrings* items) { items_->Assign(items); }

namespace {
QComboBox* ComboWidget(QWidget* w) { return qobject_cast<QComboBox*>(w); }
}  // namespace

QWidget* TCustomComboBox::CreateWidget(QWidget* parentWidget) {
  auto* combo = new QComboBox(parentWidget);
  combo->setEditable(Editable());
  combo->setInsertPolicy(QComboBox::NoInsert);
  QObject::connect(combo, &QComboBox::activated, [this](int index) {
    if (!internal::Quiet() && IsLiveComponent(this) && !Disposed()) UserPicked(index);
  });
  if (QLineEdit* e = combo->lineEdit()) {
    QObject::connect(e, &QLineEdit::textEdited, [this](const QString& s) {
      if (!internal::Quiet() && IsLiveComponent(this) && !Disposed()) UserTyped(s);
    });
  }
  return combo;
}

QWidget* TCustomComboBox::FocusWidget() {
  QComboBox* c = ComboWidget(Handle());
  if (c && c->lineEdit()) return c->lineEdit();
  return c;
}

void TCustomComboBox::InitWidget() {
  // The items and the text reach the new widget through TextChanged, which
  // the inherited step runs; filling it again would only repeat that.
  TWinControl::InitWidget();
}

void TCustomComboBox::FillWidget() {
  QComboBox* c = ComboWidget(Widget());
  if (!c) return;
  internal::QuietScope quiet;
  c->clear();
  for (int i = 0; i < items_->Count(); ++i) c->addItem(QtText(items_->Get(i)));
  c->setMaxVisibleItems(std::max(1, dropDownCount_));
  c->setCurrentIndex(itemIndex_);
  if (Editable()) c->setEditText(QtText(text_));
}

std::string TCustomComboBox::GetText() const {
  if (Editable()) return text_;
  return itemIndex_ >= 0 && itemIndex_ < items_->Count() ? items_->Get(itemIndex_) : std::string();
}

void TCustomComboBox::SetTextInternal(const std::string& text) {
  if (Editable()) {
    text_ = text;
    itemIndex_ = -1;
    for (int i = 0; i < items_->Count(); ++i)
      if (items_->Get(i) == text) {
        itemIndex_ = i;
        break;
      }
  } else {
    itemIndex_ = items_->IndexOf(text);
  }
  FillWidget();
}

void TCustomComboBox::TextChanged() { FillWidget(); }

void TCustomComboBox::ColorChanged() { TWinControl::ColorChanged(); }

void TCustomComboBox::SetItemIndex(int index) {
  if (index < -1 || index >= items_->Count()) index = -1;
  itemIndex_ = index;
  if (Editable()) text_ = index >= 0 ? items_->Get(index) : std::string();
  FillWidget();
}

void TCustomComboBox::ItemsChanged() {
  if (itemIndex_ >= items_->Count()) {
    itemIndex_ = -1;
  }
  FillWidget();
}

void TCustomComboBox::SetStyle(TComboBoxStyle style) {
  if (style == style_) return;
  std::string shown = GetText();
  style_ = style;
  if (Editable()) text_ = shown;
  RecreateWnd();
}

void TCustomComboBox::SetDropDownCount(int n) {
  dropDownCount_ = n;
  if (QComboBox* c = ComboWidget(Widget())) c->setMaxVisibleItems(std::max(1, n));
}

void TCustomComboBox::SetSorted(bool on) {
  sorted_ = on;
  items_->SetSorted(on);
}

bool TCustomComboBox::DroppedDown() const {
  QComboBox* c = ComboWidget(Widget());
  return c && c->view() && c->view()->isVisible();
}

void TCustomComboBox::SetDroppedDown(bool on) {
  QComboBox* c = ComboWidget(Handle());
  if (!c) return;
  if (on)
    c->showPopup();
  else
    c->hidePopup();
}

void TCustomComboBox::Clear() {
  items_->Clear();
  text_.clear();
  itemIndex_ = -1;
  FillWidget();
}

void TCustomComboBox::UserPicked(int index) {
  itemIndex_ = index >= 0 && index < items_->Count() ? index : -1;
  if (Editable()) text_ = itemIndex_ >= 0 ? items_->Get(itemIndex_) : std::string();
  Click();
  if (IsLiveComponent(this) && !Disposed()) Change();
}

void TCustomComboBox::UserTyped(const QString& s) {
  std::string bytes = FromQtText(s);
  if (maxLength_ > 0 && static_cast<int>(bytes.size()) > maxLength_) {
    FillWidget();
    return;
  }
  text_ = bytes;
  itemIndex_ = -1;
  Change();
}

void TCustomComboBox::Change() { OnChange(this); }

bool TCustomComboBox::WantsKey(Word key, TShiftState) const {
  if (key == VK_UP || key == VK_DOWN) return true;
  if (key == VK_RETURN || key == VK_ESCAPE) return DroppedDown();
  return false;
}

// --- TButtonControl, TButton -----------------------------------------------

const TClassInfo* TButtonControl::StaticClassInfo() {
  static const TClassInfo info("TButtonControl", TWinControl::StaticClassInfo());
  return &info;
}

TButtonControl::TButtonControl(TComponent* owner)
    : TWinControl(owner), canvas_(std::make_unique<TCanvas>()) {
  SetTabStop(true);
}

TButtonControl::~TButtonControl() = default;

void TButtonControl::PaintOver(QPainter* painter) {
  canvas_->Font()->Assign(Font());
  canvas_->Brush()->SetColor(Color());
  canvas_->BeginPaint(painter);
  AfterPaint();
  canvas_->EndPaint();
}

const TClassInfo* TButton::StaticClassInfo() {
  using P = PropBuilder<TButton>;
  static const TClassInfo info(
      "TButton", TButtonControl::StaticClassInfo(),
      {
          P::Bool<&TButton::Cancel, &TButton::SetCancel>("Cancel"),
          P::String<&TButton::Caption, &TButton::SetCaption>("Caption", "TCaption"),
          P::Bool<&TButton::Default, &TButton::SetDefault>("Default"),
          P::Integer<&TButton::ModalResult, &TButton::SetModalResult>("ModalResult",
                                                                      "TModalResult"),
      });
  return &info;
}

TButton::TButton(TComponent* owner) : TButtonControl(owner) { SetBounds(0, 0, 75, 25); }

QWidget* TButton::CreateWidget(QWidget* parentWidget) {
  auto* b = new QPushButton(parentWidget);
  b->setAutoDefault(false);
  QObject::connect(b, &QPushButton::clicked, [this] {
    if (!internal::Quiet() && IsLiveComponent(this) && !Disposed()) Click();
  });
  return b;
}

void TButton::InitWidget() {
  TButtonControl::InitWidget();
  if (auto* b = qobject_cast<QPushButton*>(Widget())) b->setDefault(default_);
}

void TButton::TextChanged() {
  if (auto* b = qobject_cast<QPushButton*>(Widget())) b->setText(QtText(GetText()));
}

void TButton::SetDefault(bool on) {
  default_ = on;
  if (auto* b = qobject_cast<QPushButton*>(Widget())) b->setDefault(on);
}

void TButton::Click() {
  if (TCustomForm* form = GetParentForm(this)) form->SetModalResult(modalResult_);
  TButtonControl::Click();
}

// --- TCustomCheckBox -------------------------------------------------------

namespace {
class CheckBoxWidget : public QCheckBox {
 public:
  CheckBoxWidget(TCustomCheckBox* owner, QWidget* parent) : QCheckBox(parent), owner_(owner) {}

 protected:
  void nextCheckState() override {
    if (internal::Quiet() || !IsLiveComponent(owner_) || owner_->Disposed()) return;
    owner_->Toggle();
  }
  void paintEvent(QPaintEvent* e) override {
    QCheckBox::paintEvent(e);
    if (!IsLiveComponent(owner_) || owner_->Disposed()) return;
    QPainter p(this);
    owner_->PaintOver(&p);
  }

 private:
  TCustomCheckBox* owner_;
};

class RadioWidget : public QRadioButton {
 public:
  RadioWidget(TRadioButton* owner, QWidget* parent) : QRadioButton(parent), owner_(owner) {
    setAutoExclusive(false);
  }

 protected:
  void nextCheckState() override {
    if (internal::Quiet() || !IsLiveComponent(owner_) || owner_->Disposed()) return;
    if (!owner_->Checked()) owner_->SetChecked(true);
    if (!IsLiveComponent(owner_)) return;
    internal::QuietScope quiet;
    setChecked(owner_->Checked());
  }
  void paintEvent(QPaintEvent* e) override {
    QRadioButton::paintEvent(e);
    if (!IsLiveComponent(owner_) || owner_->Disposed()) return;
    QPainter p(this);
    owner_->PaintOver(&p);
  }

 private:
  TRadioButton* owner_;
};
}  // namespace

const TClassInfo* TCustomCheckBox::StaticClassInfo() {
  using P = PropBuilder<TCustomCheckBox>;
  static const TClassInfo info(
      "TCustomCheckBox", TButtonControl::StaticClassInfo(),
      {
          P::Enum<&TCustomCheckBox::Alignment, &TCustomCheckBox::SetAlignment>("Alignment",
                                                                               &kAlignmentInfo),
          P::Bool<&TCustomCheckBox::AllowGrayed, &TCustomCheckBox::SetAllowGrayed>("AllowGrayed"),
          P::String<&TCustomCheckBox::Caption, &TCustomCheckBox::SetCaption>("Caption", "TCaption"),
          P::Bool<&TCustomCheckBox::Checked, &TCustomCheckBox::SetChecked>("Checked"),
          P::Enum<&TCustomCheckBox::State, &TCustomCheckBox::SetState>("State", &kCheckStateInfo),
      });
  return &info;
}

const TClassInfo* TCheckBox::StaticClassInfo() {
  static const TClassInfo info("TCheckBox", TCustomCheckBox::StaticClassInfo());
  return &info;
}

TCustomCheckBox::TCustomCheckBox(TComponent* owner) : TButtonControl(owner) {
  SetBounds(0, 0, 97, 17);
}

QWidget* TCustomCheckBox::CreateWidget(QWidget* parentWidget) {
  auto* box = new CheckBoxWidget(this, parentWidget);
  box->setTristate(true);
  return box;
}

void TCustomCheckBox::InitWidget() {
  TButtonControl::InitWidget();
  SetState(state_);
}

void TCustomCheckBox::TextChanged() {
  if (auto* b = qobject_cast<QCheckBox*>(Widget())) b->setText(QtText(GetText()));
}

void TCustomCheckBox::SetState(TCheckBoxState state) {
  bool changed = state != state_;
  state_ = state;
  if (auto* b = qobject_cast<QCheckBox*>(Widget())) {
    internal::QuietScope quiet;
    b->setCheckState(state == cbChecked  ? Qt::Checked
                     : state == cbGrayed ? Qt::PartiallyChecked
                                         : Qt::Unchecked);
  }
  if (changed && !ClicksDisabled()) Click();
}

void TCustomCheckBox::Toggle() {
  switch (state_) {
    case cbUnchecked:
      SetState(allowGrayed_ ? cbGrayed : cbChecked);
      break;
    case cbChecked:
      SetState(cbUnchecked);
      break;
    case cbGrayed:
      SetState(cbChecked);
      break;
  }
}

// --- TRadioButton ----------------------------------------------------------

const TClassInfo* TRadioButton::StaticClassInfo() {
  using P = PropBuilder<TRadioButton>;
  static const TClassInfo info(
      "TRadioButton", TButtonControl::StaticClassInfo(),
      {
          P::Enum<&TRadioButton::Alignment, &TRadioButton::SetAlignment>("Alignment",
                                                                         &kAlignmentInfo),
          P::String<&TRadioButton::Caption, &TRadioButton::SetCaption>("Caption", "TCaption"),
          P::Bool<&TRadioButton::Checked, &TRadioButton::SetChecked>("Checked"),
      });
  return &info;
}

TRadioButton::TRadioButton(TComponent* owner) : TButtonControl(owner) {
  SetBounds(0, 0, 113, 17);
  SetTabStop(false);
}

QWidget* TRadioButton::CreateWidget(QWidget* parentWidget) {
  return new RadioWidget(this, parentWidget);
}

void TRadioButton::InitWidget() {
  TButtonControl::InitWidget();
  if (auto* b = qobject_cast<QRadioButton*>(Widget())) b->setChecked(checked_);
}

void TRadioButton::TextChanged() {
  if (auto* b = qobject_cast<QRadioButton*>(Widget())) b->setText(QtText(GetText()));
}

void TRadioButton::SetChecked(bool on) {
  if (on == checked_) return;
  checked_ = on;
  SetTabStop(on);
  if (auto* b = qobject_cast<QRadioButton*>(Widget())) {
    internal::QuietScope quiet;
    b->setChecked(on);
  }
  if (!on) return;
  if (TWinControl* p = Parent()) {
    for (int i = 0; i < p->ControlCount(); ++i) {
      auto* other = dynamic_cast<TRadioButton*>(p->Controls(i));
      if (other && other != this) other->SetChecked(false);
    }
  }
  if (!ClicksDisabled()) Click();
}

// --- TCustomGroupBox -------------------------------------------------------

const TClassInfo* TCustomGroupBox::StaticClassInfo() {
  using P = PropBuilder<TCustomGroupBox>;
  static const TClassInfo info(
      "TCustomGroupBox", TCustomControl::StaticClassInfo(),
      {P::String<&TCustomGroupBox::Caption, &TCustomGroupBox::SetCaption>("Caption", "TCaption")});
  return &info;
}

const TClassInfo* TGroupBox::StaticClassInfo() {
  static const TClassInfo info("TGroupBox", TCustomGroupBox::StaticClassInfo());
  return &info;
}

TCustomGroupBox::TCustomGroupBox(TComponent* owner) : TCustomControl(owner) {
  SetBounds(0, 0, 185, 105);
}

namespace {

// The platform's group box: on the box's colour, an etched frame whose top
// line runs through the middle of the caption, and the caption 8 pixels
// from the left on the box's colour. Drawn here rather than by the style,
// whose frame tints the inside (so that controls filled with the same
// colour stand out) and puts the caption above the frame.
class ClassicGroupBox : public QGroupBox {
 public:
  using QGroupBox::QGroupBox;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    const QFontMetrics fm(font());
    const QColor face = palette().color(QPalette::Window);
    p.fillRect(rect(), face);
    const int top = fm.height() / 2 - 1;
    // Each frame as four one-pixel bars: filling is much cheaper than
    // stroking the outline of a large rectangle.
    auto frame = [&p](int x0, int y0, int x1, int y1, const QColor& colour) {
      p.fillRect(x0, y0, x1 - x0 + 1, 1, colour);
      p.fillRect(x0, y1, x1 - x0 + 1, 1, colour);
      p.fillRect(x0, y0, 1, y1 - y0 + 1, colour);
      p.fillRect(x1, y0, 1, y1 - y0 + 1, colour);
    };
    frame(1, top + 1, width() - 1, height() - 1, ToQColor(clBtnHighlight));
    frame(0, top, width() - 2, height() - 2, ToQColor(clBtnShadow));
    if (title().isEmpty()) return;
    const int flags =
        Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine |
        (style()->styleHint(QStyle::SH_UnderlineShortcut, nullptr, this) ? Qt::TextShowMnemonic
                                                                         : Qt::TextHideMnemonic);
    const QRect text =
        fm.boundingRect(QRect(8, 0, std::max(0, width() - 16), fm.height()), flags, title());
    p.fillRect(text, face);
    p.setPen(isEnabled() ? palette().color(QPalette::WindowText) : ToQColor(clGrayText));
    p.drawText(text, flags, title());
  }
};

}  // namespace

QWidget* TCustomGroupBox::CreateWidget(QWidget* parentWidget) {
  return new ClassicGroupBox(parentWidget);
}

void TCustomGroupBox::TextChanged() {
  if (auto* g = qobject_cast<QGroupBox*>(Widget())) g->setTitle(QtText(GetText()));
}

void TCustomGroupBox::AdjustClientRect(TRect& rect) const {
  QFontMetrics fm(Font()->ToQFont());
  rect.Top += fm.height();
  rect.Left += 2;
  rect.Top += 2;
  rect.Right -= 2;
  rect.Bottom -= 2;
}

}  // namespace vcl
