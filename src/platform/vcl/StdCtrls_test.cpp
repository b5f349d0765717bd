#include "platform/vcl/StdCtrls.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHelpEvent>
#include <QImage>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QToolButton>
#include <QToolTip>
#include <algorithm>
#include <cstdlib>
#include <vector>

#include "platform/core/CodePage.h"
#include "platform/vcl/Spin.h"
#include "platform/vcl/test/Fixture.h"

namespace vcl {
namespace {

using test::FormFixture;

QString Widen(const char16_t* s) { return QString::fromUtf16(s); }

// Types text the way an input method commits it.
void Commit(QWidget* w, const QString& text) {
  QInputMethodEvent e;
  e.setCommitString(text);
  QApplication::sendEvent(w, &e);
}

class EditTest : public FormFixture {};

TEST_F(EditTest, OnChangeRunsForCodeAndUserChangesOncePerChange) {
  auto* ed = Add<TEdit>("ed05");
  ed->OnChange = Recorder();
  ed->SetText("abc");
  ed->SetText("abc");  // same text: nothing
  EXPECT_EQ(log.Count(), 1u);
  EXPECT_FALSE(ed->Modified());
  ed->SetFocus();
  ed->SetSelStart(3);
  SimulateText(ed, "de");
  EXPECT_EQ(ed->Text(), "abcde");
  EXPECT_EQ(log.Count(), 3u);
  EXPECT_TRUE(ed->Modified());
  ed->Clear();
  EXPECT_EQ(log.Count(), 4u);
  EXPECT_EQ(qobject_cast<QLineEdit*>(ed->Handle())->text(), "");
}

TEST_F(EditTest, MaxLengthCountsBytesAndRefusesTypingPastIt) {
  auto* ed = Add<TEdit>();
  ed->Font()->SetCharset(platform::GB2312_CHARSET);
  ed->SetMaxLength(4);
  ed->SetFocus();
  Commit(ed->Handle(), Widen(u"中文"));  // four bytes in GB
  EXPECT_EQ(ed->Text(), platform::WideToBytes(u"中文", 936));
  SimulateText(ed, "x");
  EXPECT_EQ(ed->Text().size(), 4u);
}

struct CharsetCase {
  int charset;
  int codePage;
};
const CharsetCase kCharsets[] = {{platform::GB2312_CHARSET, 936},
                                 {platform::CHINESEBIG5_CHARSET, 950}};

TEST_F(EditTest, TextsAreShownAndReadBackThroughTheFontCharset) {
  for (const CharsetCase& c : kCharsets) {
    SCOPED_TRACE(c.codePage);
    auto* ed = Add<TEdit>();
    auto* label = Add<TLabel>();
    ed->Font()->SetCharset(c.charset);
    label->Font()->SetCharset(c.charset);
    std::string bytes = platform::WideToBytes(u"中文資料", c.codePage);
    ed->SetText(bytes);
    label->SetCaption(bytes);
    EXPECT_EQ(qobject_cast<QLineEdit*>(ed->Handle())->text(), Widen(u"中文資料"));
    EXPECT_EQ(qobject_cast<QLabel*>(label->Handle())->text(), Widen(u"中文資料"));
    // What the user types comes back in the same code page.
    ed->Clear();
    Commit(ed->Handle(), Widen(u"條件"));
    EXPECT_EQ(ed->Text(), platform::WideToBytes(u"條件", c.codePage));
  }
}

TEST_F(EditTest, ChangingTheCharsetShowsTheSameBytesDecodedAnew) {
  auto* ed = Add<TEdit>();
  ed->Font()->SetCharset(platform::GB2312_CHARSET);
  std::string big5 = platform::WideToBytes(u"資料", 950);
  ed->SetText(big5);
  QString shownAsGb = qobject_cast<QLineEdit*>(ed->Handle())->text();
  EXPECT_NE(shownAsGb, Widen(u"資料"));
  ed->Font()->SetCharset(platform::CHINESEBIG5_CHARSET);
  EXPECT_EQ(qobject_cast<QLineEdit*>(ed->Handle())->text(), Widen(u"資料"));
  EXPECT_EQ(ed->Text(), big5);  // the bytes are untouched
}

TEST_F(EditTest, ParentFontFlowsDownUntilAControlSetsItsOwn) {
  auto* box = Add<TGroupBox>();
  auto* ed = new TEdit(form);
  ed->SetParent(box);
  form->Font()->SetName("SimSun");
  EXPECT_EQ(ed->Font()->Name(), "SimSun");
  ed->Font()->SetHeight(-20);
  EXPECT_FALSE(ed->ParentFont());
  form->Font()->SetName("Tahoma");
  EXPECT_EQ(box->Font()->Name(), "Tahoma");
  EXPECT_EQ(ed->Font()->Name(), "SimSun");
}

TEST_F(EditTest, HintsShowTheirShortPartWhileHintsAreOn) {
  auto* ed = Add<TEdit>("edPrintDate");
  ed->SetHint("[F2] date|Pick a date");
  ed->SetShowHint(true);
  QWidget* w = ed->Handle();
  auto ask = [&] {
    QHelpEvent e(QEvent::ToolTip, QPoint(2, 2), w->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(w, &e);
  };
  Application->SetShowHint(false);
  ask();
  EXPECT_FALSE(QToolTip::isVisible());
  Application->SetShowHint(true);
  ed->SetShowHint(false);
  ask();
  EXPECT_FALSE(QToolTip::isVisible());
  ed->SetShowHint(true);
  ask();
  EXPECT_TRUE(QToolTip::isVisible());
  EXPECT_EQ(QToolTip::text(), "[F2] date");
  QToolTip::hideText();
}

class CheckBoxTest : public FormFixture {};

TEST_F(CheckBoxTest, OnClickRunsWhenCheckedChangesFromCode) {
  auto* box = Add<TCheckBox>("chkNotify");
  box->OnClick = Recorder();
  box->SetChecked(true);
  box->SetChecked(true);
  EXPECT_EQ(log.Count(), 1u);
  box->SetClicksDisabled(true);
  box->SetChecked(false);
  EXPECT_EQ(log.Count(), 1u);
  EXPECT_FALSE(box->Checked());
  EXPECT_TRUE(qobject_cast<QCheckBox*>(box->Handle())->checkState() == Qt::Unchecked);
}

TEST_F(CheckBoxTest, UserClicksAdvanceTheStateThroughGrayedWhenAllowed) {
  struct Case {
    bool allowGrayed;
    TCheckBoxState expected[3];
  };
  const Case cases[] = {{true, {cbGrayed, cbChecked, cbUnchecked}},
                        {false, {cbChecked, cbUnchecked, cbChecked}}};
  for (const Case& c : cases) {
    auto* box = Add<TCheckBox>();
    box->SetAllowGrayed(c.allowGrayed);
    box->OnClick = Recorder();
    log.entries.clear();
    for (TCheckBoxState expected : c.expected) {
      SimulateClick(box);
      EXPECT_EQ(box->State(), expected);
    }
    EXPECT_EQ(log.Count(), 3u);
  }
  // A press and release sent as messages click it too.
  auto* box = Add<TCheckBox>();
  box->Perform(WM_LBUTTONDOWN, 0, 0);
  box->Perform(WM_LBUTTONUP, 0, 0);
  EXPECT_TRUE(box->Checked());
}

TEST_F(CheckBoxTest, RadioButtonsUncheckTheirSiblingsOnly) {
  auto* panel = Add<TGroupBox>();
  auto* other = Add<TGroupBox>();
  std::vector<TRadioButton*> rb;
  for (int i = 0; i < 3; ++i) {
    auto* r = new TRadioButton(form);
    r->SetName("rb" + std::to_string(i));
    r->SetParent(panel);
    r->OnClick = Recorder();
    rb.push_back(r);
  }
  auto* outside = new TRadioButton(form);
  outside->SetParent(other);
  outside->SetChecked(true);
  rb[0]->SetChecked(true);
  rb[2]->SetChecked(true);
  EXPECT_FALSE(rb[0]->Checked());
  EXPECT_TRUE(rb[2]->Checked());
  EXPECT_TRUE(outside->Checked());
  EXPECT_TRUE(rb[2]->TabStop());
  EXPECT_FALSE(rb[0]->TabStop());
  SimulateClick(rb[1]);
  EXPECT_TRUE(rb[1]->Checked());
  EXPECT_FALSE(rb[2]->Checked());
  // Clicks for checking only; unchecking runs nothing.
  EXPECT_EQ(log.entries, (std::vector<std::string>{"rb0", "rb2", "rb1"}));
}

class ComboTest : public FormFixture {};

TEST_F(ComboTest, CodeChangesRunNoOnChangeUserPicksDo) {
  auto* cbo = Add<TComboBox>("cbo07");
  cbo->OnChange = Recorder();
  cbo->Items()->SetText("RMB\r\nUSD\r\nHKD");
  cbo->SetItemIndex(1);
  EXPECT_EQ(cbo->Text(), "USD");
  EXPECT_TRUE(log.entries.empty());
  auto* q = qobject_cast<QComboBox*>(cbo->Handle());
  EXPECT_EQ(q->count(), 3);
  q->setCurrentIndex(2);
  emit q->activated(2);  // what a user's pick sends
  EXPECT_EQ(cbo->ItemIndex(), 2);
  EXPECT_EQ(cbo->Text(), "HKD");
  EXPECT_EQ(log.Count(), 1u);
  // Converting the items keeps the selection; dropping the selected one clears it.
  cbo->Items()->SetText("rmb\r\nusd\r\nhkd");
  EXPECT_EQ(cbo->ItemIndex(), 2);
  cbo->Items()->Delete(2);
  EXPECT_EQ(cbo->ItemIndex(), -1);
  EXPECT_EQ(cbo->ItemIndex(), q->currentIndex());
}

TEST_F(ComboTest, StylesDecideWhetherTextIsFreeOrAnItem) {
  auto* cbo = Add<TComboBox>();
  cbo->Items()->SetText("a\r\nb");
  cbo->SetText("zz");
  EXPECT_EQ(cbo->Text(), "zz");
  EXPECT_EQ(cbo->ItemIndex(), -1);
  cbo->SetStyle(csOwnerDrawVariable);  // a list style: text must be an item
  cbo->SetText("b");
  EXPECT_EQ(cbo->ItemIndex(), 1);
  cbo->SetText("zz");
  EXPECT_EQ(cbo->ItemIndex(), -1);
  EXPECT_EQ(cbo->Text(), "");
  cbo->SetItemIndex(0);
  cbo->SetStyle(csOwnerDrawFixed);
  EXPECT_EQ(cbo->ItemIndex(), 0);
  EXPECT_FALSE(qobject_cast<QComboBox*>(cbo->Handle())->isEditable());
  EXPECT_EQ(qobject_cast<QComboBox*>(cbo->Handle())->currentIndex(), 0);
}

class MemoTest : public FormFixture {};

TEST_F(MemoTest, LinesAndTextStayOneAndEnterBreaksTheLine) {
  auto* memo = Add<TMemo>();
  memo->OnChange = Recorder();
  memo->Lines()->Add("first");
  memo->Lines()->Add("second");
  EXPECT_EQ(memo->Text(), "first\r\nsecond");
  EXPECT_EQ(log.Count(), 2u);
  memo->SetFocus();
  memo->SetCaretPos({6, 1});
  EXPECT_EQ(memo->CaretPos(), (TPoint{6, 1}));
  SimulateKey(memo, VK_RETURN);
  SimulateText(memo, "x");
  EXPECT_EQ(memo->Lines()->Count(), 3);
  EXPECT_EQ(memo->Lines()->Get(2), "x");
  EXPECT_EQ(memo->CaretPos().Y, 2);
  EXPECT_EQ(qobject_cast<QPlainTextEdit*>(memo->Handle())->toPlainText(), "first\nsecond\nx");
}

class ButtonTest : public FormFixture {};

TEST_F(ButtonTest, AButtonSetsTheFormsModalResultBeforeItsHandler) {
  auto* btn = Add<TButton>("btnCancel");
  btn->SetModalResult(mrCancel);
  int seen = -1;
  struct Seen {
    TForm* form;
    int* seen;
    void Click(TObject*) { *seen = form->ModalResult(); }
  } s{form, &seen};
  btn->OnClick = MakeEvent<&Seen::Click>(&s);
  btn->Perform(WM_LBUTTONDOWN, 0, 0);
  btn->Perform(WM_LBUTTONUP, 0, 0);
  EXPECT_EQ(seen, mrCancel);
}

class SpinTest : public FormFixture {};

TEST_F(SpinTest, ValueIsClampedAndOnlyNumberCharactersAreTyped) {
  auto* se = Add<TSpinEdit>("seDay1");
  se->SetMinValue(1);
  se->SetMaxValue(31);
  se->OnChange = Recorder();
  se->SetValue(40);
  EXPECT_EQ(se->Text(), "31");
  se->SetValue(-3);
  EXPECT_EQ(se->Value(), 1);
  EXPECT_EQ(log.Count(), 2u);
  se->SetFocus();
  se->SetText("");
  SimulateText(se, "1a2-");
  EXPECT_EQ(se->Text(), "12-");
  EXPECT_EQ(se->Value(), 1);  // not a number: MinValue
  se->SetText("7");
  SimulateKey(se, VK_UP);
  EXPECT_EQ(se->Value(), 8);
  // Equal limits mean none.
  se->SetMaxValue(1);
  se->SetValue(500);
  EXPECT_EQ(se->Value(), 500);
}

// The two buttons sit stacked inside the edit's right edge, clear of the
// text, follow the edit's size and step the value (not when read-only).
TEST_F(SpinTest, ButtonsAreStackedAtTheRightEdgeAndStepTheValue) {
  auto* se = Add<TSpinEdit>("seCopies");
  se->SetBounds(10, 10, 70, 22);
  se->SetValue(12);
  auto* edit = qobject_cast<QLineEdit*>(se->Handle());
  ASSERT_NE(edit, nullptr);
  auto* up = edit->findChild<QToolButton*>("SpinUp");
  auto* down = edit->findChild<QToolButton*>("SpinDown");
  ASSERT_NE(up, nullptr);
  ASSERT_NE(down, nullptr);
  for (int width : {70, 200}) {
    se->SetWidth(width);
    QApplication::processEvents();
    SCOPED_TRACE(width);
    EXPECT_EQ(up->x(), down->x());
    EXPECT_LE(up->geometry().right(), width - 1);
    EXPECT_GE(up->geometry().right(), width - 4);
    EXPECT_EQ(up->geometry().bottom() + 1, down->y());
    EXPECT_LE(down->geometry().bottom(), se->Height() - 1);
    EXPECT_LE(up->width(), 16);
    // The text ends before the buttons begin.
    EXPECT_GE(edit->textMargins().right(), up->width());
  }
  up->click();
  EXPECT_EQ(se->Value(), 13);
  down->click();
  down->click();
  EXPECT_EQ(se->Value(), 11);
  se->SetReadOnly(true);
  up->click();
  EXPECT_EQ(se->Value(), 11);
}

// The group box as the platform draws it: the inside in the box's own
// colour (a control of that colour inside does not stand out), the etched
// frame's top line through the middle of the caption, the caption from
// x = 8 on the box's colour.
TEST_F(EditTest, GroupBoxDrawsTheCaptionOverItsEtchedFrame) {
  auto* group = Add<TGroupBox>("grpGenTime");
  group->SetBounds(10, 10, 200, 100);
  group->SetCaption("WWW");
  const QImage image = group->Handle()->grab().toImage();
  const QRgb face = ToQColor(clBtnFace).rgb() & 0xFFFFFF;
  const QRgb shadow = ToQColor(clBtnShadow).rgb() & 0xFFFFFF;
  const QRgb highlight = ToQColor(clBtnHighlight).rgb() & 0xFFFFFF;
  auto at = [&](int x, int y) { return image.pixel(x, y) & 0xFFFFFF; };
  const int top = QFontMetrics(group->Font()->ToQFont()).height() / 2 - 1;
  EXPECT_EQ(at(100, 60), face);
  EXPECT_EQ(at(190, top), shadow);
  EXPECT_EQ(at(190, top + 1), highlight);
  EXPECT_EQ(at(0, 60), shadow);
  EXPECT_EQ(at(1, 60), highlight);
  EXPECT_EQ(at(100, 98), shadow);
  EXPECT_EQ(at(100, 99), highlight);
  // The caption interrupts the top line; its ink starts at x = 8.
  int firstInk = -1;
  for (int x = 2; x < 60 && firstInk < 0; ++x)
    for (int y = 0; y < top * 2 + 2; ++y)
      if (at(x, y) != face && at(x, y) != shadow && at(x, y) != highlight) {
        firstInk = x;
        break;
      }
  EXPECT_GE(firstInk, 8);
  EXPECT_LE(firstInk, 10);
  EXPECT_EQ(at(5, top), shadow);  // the line before the caption
  EXPECT_NE(at(8, top), shadow);  // the caption's ground
}

// Disabled edits and labels show their text in the grey-text colour, not
// in their font's colour (black here).
TEST_F(EditTest, DisabledTextsAreGrey) {
  auto* ed = Add<TEdit>("ed05");
  auto* label = Add<TLabel>("lbl05");
  ed->SetBounds(10, 10, 120, 22);
  label->SetBounds(10, 40, 120, 16);
  for (TControl* c : std::vector<TControl*>{ed, label}) {
    c->Font()->SetColor(clBlack);
    c->SetText("WWWW");
    c->SetEnabled(false);
  }
  for (TControl* c : std::vector<TControl*>{ed, label}) {
    SCOPED_TRACE(c->Name());
    const QImage image = c->Handle()->grab().toImage();
    // Grey ink is no darker than clGrayText (128); black ink is.
    int greyInk = 0, blackInk = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) {
        const int value = image.pixelColor(x, y).value();
        if (value < 100)
          ++blackInk;
        else if (value <= 170)
          ++greyInk;
      }
    EXPECT_GT(greyInk, 10);
    EXPECT_EQ(blackInk, 0);
  }
}

// A label measures its caption in its own font: the same caption in a
// larger or bold font is wider, and the first font gives the first size.
TEST_F(EditTest, LabelMeasuresItsCaptionInItsFont) {
  auto* label = Add<TLabel>("lblDate");
  label->SetCaption("制表日期");
  label->Font()->SetHeight(-12);
  const int small = label->Width();
  const int smallHeight = label->Height();
  label->Font()->SetHeight(-20);
  EXPECT_GT(label->Width(), small);
  EXPECT_GT(label->Height(), smallHeight);
  label->Font()->SetHeight(-12);
  EXPECT_EQ(label->Width(), small);
  label->Font()->SetStyle(FontStyle(fsBold));
  EXPECT_GT(label->Width(), small);
  label->Font()->SetStyle(0);
  label->SetCaption("iiii");
  const int narrow = label->Width();
  label->SetCaption("WWWW");
  EXPECT_GT(label->Width(), narrow);
}

TEST_F(EditTest, LabelSizesItselfToItsCaption) {
  auto* label = Add<TLabel>("lblToday");
  label->SetCaption("制表日期");
  int w1 = label->Width();
  label->SetCaption("制表日期制表日期");
  EXPECT_GT(label->Width(), w1);
  label->SetAutoSize(false);
  label->SetCaption("x");
  EXPECT_GT(label->Width(), w1);
  // "&x" marks an accelerator and is not shown.
  label->SetAutoSize(true);
  label->SetCaption("&Name");
  EXPECT_EQ(qobject_cast<QLabel*>(label->Handle())->text(), "Name");
}

}  // namespace
}  // namespace vcl

namespace vcl {
namespace {

// A control of the kind the suite builds on the layer: drawn by itself,
// clicked by mouse and by its accelerator.
class TGlyphBox : public TCustomControl {
 public:
  explicit TGlyphBox(TComponent* owner) : TCustomControl(owner) {
    SetBounds(0, 0, 97, 17);
    SetTabStop(true);
  }
  void Paint() override {
    Canvas()->Brush()->SetColor(checked ? clRed : clWhite);
    Canvas()->FillRect(ClientRect());
  }
  void Click() override {
    checked = !checked;
    Invalidate();
    TCustomControl::Click();
  }
  bool DialogChar(char key) override {
    if (!IsAccel(key, Caption()) || !CanFocus()) return false;
    SetFocus();
    checked = !checked;  // the accelerator advances without OnClick
    return true;
  }
  bool checked = false;
};

class TRedCornerBox : public TCheckBox {
 public:
  using TCheckBox::TCheckBox;
  void AfterPaint() override {
    ++paints;
    Canvas()->SetPixel(0, 0, clRed);
    Canvas()->Brush()->SetColor(clRed);
    Canvas()->FillRect(Rect(0, 0, 2, 2));
  }
  int paints = 0;
};

class OwnControlTest : public FormFixture {};

TEST_F(OwnControlTest, ASelfDrawnControlPaintsClicksAndAnswersItsAccelerator) {
  auto* box = Add<TGlyphBox>("chkBit");
  box->SetCaption("打印(&P)");
  box->OnClick = Recorder();
  QImage before = box->Handle()->grab().toImage();
  EXPECT_EQ(before.pixelColor(5, 5), QColor(Qt::white));
  SimulateClick(box);
  EXPECT_TRUE(box->checked);
  EXPECT_EQ(box->Handle()->grab().toImage().pixelColor(5, 5), QColor(Qt::red));
  EXPECT_EQ(log.Count(), 1u);
  auto* ed = Add<TEdit>();
  ed->SetFocus();
  SimulateKey(ed, 'P', ssAlt);
  EXPECT_EQ(form->ActiveControl(), box);
  EXPECT_FALSE(box->checked);
  EXPECT_EQ(log.Count(), 1u);
  // A label's accelerator focuses its control.
  auto* label = Add<TLabel>();
  label->SetCaption("日期(&D)");
  label->SetFocusControl(ed);
  SimulateKey(box, 'D', ssAlt);
  EXPECT_EQ(form->ActiveControl(), ed);
}

TEST_F(OwnControlTest, ButtonControlsMayDrawOverWhatTheirWidgetPainted) {
  auto* box = Add<TRedCornerBox>();
  box->SetCaption("x");
  QImage img = box->Handle()->grab().toImage();
  EXPECT_GT(box->paints, 0);
  EXPECT_EQ(img.pixelColor(1, 1), QColor(Qt::red));
}

}  // namespace
}  // namespace vcl
