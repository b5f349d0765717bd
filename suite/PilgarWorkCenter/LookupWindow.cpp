#include "suite/PilgarWorkCenter/LookupWindow.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "platform/core/CodePage.h"
#include "platform/core/SysUtils.h"
#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/vcl/TypInfo.h"
#include "suite/PilgarWorkCenter/DialogParts.h"

namespace pilgarwc {

using platform::Variant;

namespace {

constexpr int kMinColumnWidth = 48;
constexpr int kMaxColumnWidth = 280;
// Rows measured for the column widths; the rest follow the same layout.
constexpr int kMeasuredRows = 200;

struct TableName {
  const char* Table;
  const char* Name;
};

// Narrow literals are GB bytes (the targets are built for that code page).
constexpr TableName kTableNames[] = {
    {"ADMMB", "程序"},     {"ASTTO", "进货单号"}, {"CMSMA", "网页报表站点"},
    {"CMSMB", "进货工厂"}, {"CMSMF", "币种"},     {"CMSMS", "页脚签核"},
    {"CMSMT", "报表设置"}, {"GENES", "条件方案"}, {"PURMA", "供应商编号"},
    {"VRKMA", "用户"},
};

std::vector<Variant> Elements(const Variant& value) {
  if (!value.IsArray() || value.DimCount() != 1) return {};
  return value.Array().Items();
}

// A cell as the list shows it: texts as they are, other kinds as text.
std::string CellText(const Variant& cell) {
  if (cell.Type() == platform::VarType::OleStr)
    return platform::WideToBytes(cell.AsWideString(), platform::CP_GBK);
  try {
    return platform::VarToStr(cell);
  } catch (const platform::Exception&) {
    return {};  // an array or an object in a cell: nothing to show
  }
}

class TfrmLookup : public vcl::TForm {
  VCL_CLASS_INFO()
 public:
  TfrmLookup(const LookupRequest& request, LookupFetch fetch)
      : TForm(nullptr), fetch_(std::move(fetch)), multi_(request.Multi) {
    SetName("frmLookup");
    SetCaption(LookupCaption(request.Table));
    SetBorderStyle(vcl::bsSizeable);
    SetPosition(vcl::poScreenCenter);
    // Texts are GB bytes whatever the system code page is.
    Font()->SetCharset(platform::GB2312_CHARSET);
    Font()->SetHeight(-12);
    SetClientWidth(600);
    SetClientHeight(400);

    auto* label = AddControl<vcl::TLabel>(this, "lblSearch");
    label->SetCaption("查找(&F)");
    label->SetBounds(8, 12, 48, 16);
    edSearch = AddControl<vcl::TEdit>(this, "edSearch");
    edSearch->SetBounds(60, 8, 300, 22);
    edSearch->SetTabStop(true);
    label->SetFocusControl(edSearch);

    lvRows = AddControl<vcl::TListView>(this, "lvRows");
    lvRows->SetBounds(8, 38, 584, 318);
    lvRows->SetViewStyle(vcl::vsReport);
    lvRows->SetRowSelect(true);
    lvRows->SetReadOnly(true);
    lvRows->SetHideSelection(false);
    lvRows->SetMultiSelect(multi_);
    lvRows->SetTabStop(true);

    btnOk = AddControl<vcl::TButton>(this, "btnOk");
    btnOk->SetCaption("确定");
    btnOk->SetBounds(436, 366, 75, 25);
    btnOk->SetDefault(true);
    btnOk->SetModalResult(vcl::mrOk);
    btnOk->SetTabStop(true);
    btnCancel = AddControl<vcl::TButton>(this, "btnCancel");
    btnCancel->SetCaption("取消");
    btnCancel->SetBounds(517, 366, 75, 25);
    btnCancel->SetCancel(true);
    btnCancel->SetModalResult(vcl::mrCancel);
    btnCancel->SetTabStop(true);

    edSearch->SetText(request.StartText);
    edSearch->OnChange = vcl::MakeEvent<&TfrmLookup::edSearchChange>(this);
    edSearch->OnKeyDown = vcl::MakeEvent<&TfrmLookup::edSearchKeyDown>(this);
    lvRows->OnDblClick = vcl::MakeEvent<&TfrmLookup::lvRowsDblClick>(this);
    SetActiveControl(edSearch);
  }

  /* The first fetch, before the window shows: its failure is the lookup's. */
  void Fill() { ShowRows(fetch_(edSearch->Text())); }

  /* The chosen rows, or unassigned. */
  Variant Chosen() const {
    std::vector<Variant> chosen;
    for (int i = 0; i < lvRows->Items()->Count(); ++i)
      if (lvRows->Items()->Item(i)->Selected()) chosen.push_back(rows_[static_cast<size_t>(i)]);
    if (chosen.empty()) return Variant();
    Variant answer = platform::VarArrayCreate({{0, static_cast<int32_t>(chosen.size()) - 1}});
    for (size_t i = 0; i < chosen.size(); ++i) answer[static_cast<int32_t>(i)] = chosen[i];
    return answer;
  }

  void edSearchChange(vcl::TObject*) {
    Variant content;
    try {
      content = fetch_(edSearch->Text());
    } catch (const platform::Exception&) {
      content = Variant();  // shows no rows; the user may search again
    }
    ShowRows(content);
  }

  // Down arrow from the search box goes on to the rows.
  void edSearchKeyDown(vcl::TObject*, vcl::Word& key, vcl::TShiftState) {
    if (key != vcl::VK_DOWN || lvRows->Items()->Count() == 0) return;
    key = 0;
    lvRows->SetFocus();
    if (!lvRows->Selected()) lvRows->Items()->Item(0)->SetSelected(true);
  }

  void lvRowsDblClick(vcl::TObject*) {
    if (lvRows->Selected()) SetModalResult(vcl::mrOk);
  }

  vcl::TEdit* edSearch = nullptr;
  vcl::TListView* lvRows = nullptr;
  vcl::TButton* btnOk = nullptr;
  vcl::TButton* btnCancel = nullptr;

 private:
  void ShowRows(const Variant& content) {
    const std::vector<Variant> parts = Elements(content);
    std::vector<Variant> captions = parts.size() > 0 ? Elements(parts[0]) : std::vector<Variant>();
    rows_ = parts.size() > 1 ? Elements(parts[1]) : std::vector<Variant>();

    lvRows->Items()->BeginUpdate();
    lvRows->Items()->Clear();
    if (static_cast<int>(captions.size()) != lvRows->Columns()->Count()) {
      lvRows->Columns()->Clear();
      for (size_t c = 0; c < captions.size(); ++c) lvRows->Columns()->Add();
    }
    std::vector<int> widths(captions.size(), kMinColumnWidth);
    vcl::TCanvas* canvas = lvRows->Canvas();
    auto measure = [&](size_t column, const std::string& text) {
      widths[column] = std::clamp(canvas->TextWidth(text) + 16, widths[column], kMaxColumnWidth);
    };
    for (size_t c = 0; c < captions.size(); ++c) measure(c, CellText(captions[c]));
    for (size_t r = 0; r < rows_.size(); ++r) {
      const std::vector<Variant> cells = Elements(rows_[r]);
      vcl::TListItem* item = lvRows->Items()->Add();
      for (size_t c = 0; c < cells.size(); ++c) {
        const std::string text = CellText(cells[c]);
        if (c == 0)
          item->SetCaption(text);
        else
          item->SubItems()->Add(text);
        if (c < widths.size() && r < kMeasuredRows) measure(c, text);
      }
    }
    for (size_t c = 0; c < captions.size(); ++c) {
      vcl::TListColumn* column = lvRows->Columns()->Items(static_cast<int>(c));
      column->SetCaption(CellText(captions[c]));
      column->SetWidth(widths[c]);
    }
    lvRows->Items()->EndUpdate();
    // A single choice starts on the first row, so that Enter takes it.
    if (!multi_ && lvRows->Items()->Count() > 0) {
      vcl::TListItem* first = lvRows->Items()->Item(0);
      first->SetSelected(true);
      first->SetFocused(true);
    }
  }

  LookupFetch fetch_;
  bool multi_;
  std::vector<Variant> rows_;
};

}  // namespace

const vcl::TClassInfo* TfrmLookup::StaticClassInfo() {
  static const vcl::TClassInfo info("TfrmLookup", vcl::TForm::StaticClassInfo());
  return &info;
}

std::string LookupCaption(const std::string& table) {
  const std::string code = platform::UpperCase(platform::Trim(table));
  for (const TableName& t : kTableNames)
    if (code == t.Table) return std::string(t.Name) + "信息查询 - " + code;
  return code + " 信息查询";
}

Variant RunLookupWindow(const LookupRequest& request, const LookupFetch& fetch) {
  auto* form = vcl::Create<TfrmLookup>(request, fetch);
  Variant answer;
  try {
    form->Fill();
    if (form->ShowModal() == vcl::mrOk) answer = form->Chosen();
  } catch (...) {
    if (vcl::IsLiveComponent(form)) form->Free();
    throw;
  }
  if (vcl::IsLiveComponent(form)) form->Free();
  return answer;
}

}  // namespace pilgarwc
