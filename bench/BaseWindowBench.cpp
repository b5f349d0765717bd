// The base window against Qt alone, in one process: a TVKForm-derived
// window of about 60 controls (labels, edits, check and radio boxes,
// buttons, combo boxes, group boxes, a panel, a page control with two
// pages, a memo, a list view and spin edits) is made, shown until its first
// paint is done (events processed until the window is exposed and has
// painted) and freed, many times:
//   - without any language package present for its classes;
//   - with a package for its class "TfrmBench" (the window's caption and
//     the captions and hints of 30 of its controls);
// and the same window built from plain Qt widgets from the same table is
// made, shown and deleted the same way. The three kinds take turns, so
// that load on the machine falls on all of them alike. At the end the
// median show times (construction to first paint) and close times are
// printed with the ratio to Qt alone; the goal is at most 1.5.
//
// Usage: base_window_bench [--runs N] (default 200). Headless
// (QT_QPA_PLATFORM=offscreen) unless QT_QPA_PLATFORM is set. The code page
// is GB (VRK_CODEPAGE=936) unless set. The settings live in a temporary
// folder that is removed at the end.

#include <unistd.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTreeWidget>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/core/CodePage.h"
#include "platform/core/Registry.h"
#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Spin.h"
#include "platform/vcl/StdCtrls.h"
#include "runtime/VKForm.h"

namespace {

using Clock = std::chrono::steady_clock;

// ---------------------------------------------------------------------------
// The window, as one table both builders read.

enum Kind {
  kLabel,
  kEdit,
  kCheck,
  kRadio,
  kButton,
  kCombo,
  kGroup,
  kPanel,
  kPages,
  kPage,
  kMemo,
  kList,
  kSpin
};

struct Item {
  Kind kind;
  std::string name;
  std::string caption;
  int parent;  // index of the parent item, -1 for the window
  int left, top, width, height;
};

std::vector<Item> WindowItems() {
  std::vector<Item> items;
  auto add = [&items](Kind kind, std::string name, std::string caption, int parent, int left,
                      int top, int width, int height) {
    items.push_back({kind, std::move(name), std::move(caption), parent, left, top, width, height});
    return static_cast<int>(items.size()) - 1;
  };
  const int pages = add(kPages, "pgMain", "", -1, 8, 8, 584, 360);
  const int page1 = add(kPage, "tsMain1", "条件", pages, 0, 0, 0, 0);
  const int page2 = add(kPage, "tsMain2", "明细", pages, 0, 0, 0, 0);

  // Page 1: a heading group of codes, a grid of fields, options, modes.
  const int head = add(kGroup, "grpHead", "单据", page1, 8, 4, 560, 86);
  for (int i = 0; i < 6; ++i) {
    const int column = i % 3, row = i / 3;
    add(kLabel, "lblHead" + std::to_string(i + 1), "代码" + std::to_string(i + 1), head,
        8 + column * 184, 22 + row * 30, 40, 13);
    add(kEdit, "edHead" + std::to_string(i + 1), "", head, 52 + column * 184, 18 + row * 30, 120,
        21);
  }
  for (int i = 0; i < 10; ++i) {
    const int column = i % 2, row = i / 2;
    add(kLabel, "lblField" + std::to_string(i + 1), "栏位" + std::to_string(i + 1), page1,
        8 + column * 280, 100 + row * 28, 40, 13);
    add(kEdit, "edField" + std::to_string(i + 1), "", page1, 56 + column * 280, 96 + row * 28, 200,
        21);
  }
  for (int i = 0; i < 6; ++i)
    add(kCheck, "chkOption" + std::to_string(i + 1), "选项" + std::to_string(i + 1), page1,
        8 + (i % 3) * 120, 240 + (i / 3) * 22, 110, 17);
  const int mode = add(kGroup, "grpMode", "方式", page1, 380, 236, 188, 90);
  for (int i = 0; i < 3; ++i)
    add(kRadio, "rbMode" + std::to_string(i + 1), "方式" + std::to_string(i + 1), mode, 10,
        20 + i * 22, 160, 17);
  for (int i = 0; i < 3; ++i)
    add(kCombo, "cboKind" + std::to_string(i + 1), "", page1, 8 + i * 120, 290, 110, 21);

  // Page 2: a memo, a list, spin edits and a panel of buttons.
  add(kMemo, "memNote", "备注", page2, 8, 8, 270, 120);
  add(kList, "lvRows", "", page2, 290, 8, 278, 200);
  add(kSpin, "seCopies", "", page2, 8, 140, 80, 22);
  add(kSpin, "seDays", "", page2, 100, 140, 80, 22);
  const int tools = add(kPanel, "pnlTools", "", page2, 8, 220, 560, 40);
  for (int i = 0; i < 3; ++i)
    add(kButton, "btnTool" + std::to_string(i + 1), "工具" + std::to_string(i + 1), tools,
        8 + i * 90, 8, 80, 24);

  // The window's own buttons.
  add(kButton, "btnOk", "确定", -1, 340, 376, 80, 25);
  add(kButton, "btnCancel", "取消", -1, 426, 376, 80, 25);
  add(kButton, "btnHelp", "说明", -1, 512, 376, 80, 25);
  return items;
}

const std::vector<Item>& Items() {
  static const std::vector<Item> items = WindowItems();
  return items;
}

const char* const kComboItems[] = {"全部", "已审核", "未审核", "已结案"};
const int kListRows = 5;

// ---------------------------------------------------------------------------
// Our window.

class TfrmBench : public VKForm::TVKForm {
  VCL_CLASS_INFO()
 public:
  explicit TfrmBench(vcl::TComponent* owner) : VKForm::TVKForm(owner) {
    SetName("frmBench");
    SetCaption("基础窗口");
    SetBounds(Left(), Top(), 608, 440);
    std::vector<vcl::TWinControl*> made;
    for (const Item& item : Items()) {
      vcl::TWinControl* parent = item.parent < 0 ? this : made[static_cast<size_t>(item.parent)];
      vcl::TControl* control = Make(item, parent);
      made.push_back(dynamic_cast<vcl::TWinControl*>(control));
    }
    OnShow = vcl::MakeEvent<&TfrmBench::FormShow>(this);
  }

  void FormShow(vcl::TObject* sender) {
    VKForm::TVKForm::FormShow(sender);
    ConvertOnce();
  }

 private:
  vcl::TControl* Make(const Item& item, vcl::TWinControl* parent) {
    vcl::TControl* control = nullptr;
    switch (item.kind) {
      case kLabel:
        control = new vcl::TLabel(this);
        break;
      case kEdit:
        control = new vcl::TEdit(this);
        break;
      case kCheck:
        control = new vcl::TCheckBox(this);
        break;
      case kRadio:
        control = new vcl::TRadioButton(this);
        break;
      case kButton:
        control = new vcl::TButton(this);
        break;
      case kCombo: {
        auto* combo = new vcl::TComboBox(this);
        for (const char* text : kComboItems) combo->Items()->Add(text);
        control = combo;
        break;
      }
      case kGroup:
        control = new vcl::TGroupBox(this);
        break;
      case kPanel:
        control = new vcl::TPanel(this);
        break;
      case kPages:
        control = new vcl::TPageControl(this);
        break;
      case kPage: {
        auto* page = new vcl::TTabSheet(this);
        page->SetName(item.name);
        page->SetPageControl(static_cast<vcl::TPageControl*>(parent));
        page->SetCaption(item.caption);
        return page;
      }
      case kMemo:
        control = new vcl::TMemo(this);
        break;
      case kList: {
        auto* list = new vcl::TListView(this);
        list->SetViewStyle(vcl::vsReport);
        for (const char* caption : {"编号", "名称", "数量"}) {
          vcl::TListColumn* column = list->Columns()->Add();
          column->SetCaption(caption);
          column->SetWidth(80);
        }
        for (int row = 0; row < kListRows; ++row) {
          vcl::TListItem* line = list->Items()->Add();
          line->SetCaption("S00" + std::to_string(row + 1));
          line->SubItems()->Add("供应商" + std::to_string(row + 1));
          line->SubItems()->Add(std::to_string((row + 1) * 10));
        }
        control = list;
        break;
      }
      case kSpin:
        control = new vcl::TSpinEdit(this);
        break;
    }
    control->SetName(item.name);
    control->SetParent(parent);
    control->SetBounds(item.left, item.top, item.width, item.height);
    if (!item.caption.empty()) control->SetCaption(item.caption);
    return control;
  }
};

const vcl::TClassInfo* TfrmBench::StaticClassInfo() {
  static const vcl::TClassInfo info("TfrmBench", VKForm::TVKForm::StaticClassInfo());
  return &info;
}

// ---------------------------------------------------------------------------
// The same window from Qt widgets.

QString Q(const std::string& gb) {
  return QString::fromStdU16String(platform::BytesToWide(gb, platform::CP_GBK));
}

std::unique_ptr<QWidget> MakeQtWindow() {
  auto window = std::make_unique<QWidget>();
  window->setWindowTitle(Q("基础窗口"));
  QFont font(Q("宋体"));
  font.setPixelSize(13);
  window->setFont(font);
  window->resize(600, 413);  // the form's client area
  std::vector<QWidget*> made;
  for (const Item& item : Items()) {
    QWidget* parent = item.parent < 0 ? window.get() : made[static_cast<size_t>(item.parent)];
    QWidget* widget = nullptr;
    switch (item.kind) {
      case kLabel:
        widget = new QLabel(Q(item.caption), parent);
        break;
      case kEdit:
        widget = new QLineEdit(parent);
        break;
      case kCheck:
        widget = new QCheckBox(Q(item.caption), parent);
        break;
      case kRadio:
        widget = new QRadioButton(Q(item.caption), parent);
        break;
      case kButton:
        widget = new QPushButton(Q(item.caption), parent);
        break;
      case kCombo: {
        // Editable, as the platform's combo box is by default (csDropDown).
        auto* combo = new QComboBox(parent);
        combo->setEditable(true);
        for (const char* text : kComboItems) combo->addItem(Q(text));
        widget = combo;
        break;
      }
      case kGroup:
        widget = new QGroupBox(Q(item.caption), parent);
        break;
      case kPanel: {
        auto* frame = new QFrame(parent);
        frame->setFrameStyle(QFrame::Panel | QFrame::Raised);
        widget = frame;
        break;
      }
      case kPages:
        widget = new QTabWidget(parent);
        break;
      case kPage: {
        auto* page = new QWidget;
        static_cast<QTabWidget*>(parent)->addTab(page, Q(item.caption));
        made.push_back(page);
        continue;
      }
      case kMemo:
        widget = new QPlainTextEdit(Q(item.caption), parent);
        break;
      case kList: {
        auto* tree = new QTreeWidget(parent);
        tree->setRootIsDecorated(false);
        tree->setHeaderLabels({Q("编号"), Q("名称"), Q("数量")});
        for (int row = 0; row < kListRows; ++row)
          new QTreeWidgetItem(
              tree, {Q("S00" + std::to_string(row + 1)), Q("供应商" + std::to_string(row + 1)),
                     QString::number((row + 1) * 10)});
        widget = tree;
        break;
      }
      case kSpin:
        widget = new QSpinBox(parent);
        break;
    }
    widget->setGeometry(item.left, item.top, item.width, item.height);
    made.push_back(widget);
  }
  return window;
}

// ---------------------------------------------------------------------------
// Measuring.

// Notes the paint events of top-level windows.
class PaintWatch : public QObject {
 public:
  bool painted = false;
  bool eventFilter(QObject* object, QEvent* event) override {
    if (event->type() == QEvent::Paint && object->isWidgetType() &&
        static_cast<QWidget*>(object)->isWindow())
      painted = true;
    return false;
  }
};
PaintWatch* watch = nullptr;

// Runs events until Window is exposed and has painted; raises after five
// seconds.
void WaitForFirstPaint(QWidget* window) {
  QElapsedTimer timer;
  timer.start();
  while (!(watch->painted && window->windowHandle() && window->windowHandle()->isExposed())) {
    if (timer.elapsed() > 5000) throw std::runtime_error("the window was never painted");
    QCoreApplication::processEvents(QEventLoop::AllEvents);
  }
}

double Ms(Clock::time_point from, Clock::time_point to) {
  return std::chrono::duration<double, std::milli>(to - from).count();
}

struct Samples {
  std::vector<double> show, close;
};

void RunOurs(Samples& samples) {
  watch->painted = false;
  const auto start = Clock::now();
  auto* form = vcl::Create<TfrmBench>(nullptr);
  form->Show();
  WaitForFirstPaint(form->Handle());
  const auto shown = Clock::now();
  form->Free();
  vcl::Application->ProcessMessages();
  samples.show.push_back(Ms(start, shown));
  samples.close.push_back(Ms(shown, Clock::now()));
}

void RunQt(Samples& samples) {
  watch->painted = false;
  const auto start = Clock::now();
  std::unique_ptr<QWidget> window = MakeQtWindow();
  window->show();
  WaitForFirstPaint(window.get());
  const auto shown = Clock::now();
  window.reset();
  QCoreApplication::sendPostedEvents();
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  samples.show.push_back(Ms(start, shown));
  samples.close.push_back(Ms(shown, Clock::now()));
}

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// ---------------------------------------------------------------------------
// The installation: registry file, client settings and the language folder.

struct Installation {
  std::string root;
  std::string package;  // the package file of TfrmBench
  std::string parked;   // where it waits while it is not present

  Installation() {
    char pattern[] = "/tmp/vk-base-window-bench-XXXXXX";
    if (!::mkdtemp(pattern)) throw std::runtime_error("mkdtemp");
    root = pattern;
    const std::string client = root + "/client/";
    std::filesystem::create_directories(client + "MultiLanguage/CHS");
    Write(root + "/registry.reg",
          "Windows Registry Editor Version 5.00\r\n\r\n"
          "[HKEY_LOCAL_MACHINE\\Software\\VRK\\Brantor]\r\n"
          "\"ClientPath\"=\"" +
              client + "\"\r\n");
    Write(client + "BrantorC.ini",
          "[CodePage]\r\nUICodePage=936\r\nDBCodePage=936\r\n"
          "[Server Information]\r\nComputerName=127.0.0.1\r\n");
    package = client + "MultiLanguage/CHS/TfrmBench.Lng";
    parked = root + "/TfrmBench.Lng";
    Write(parked, PackageText());
    platform::SetRegistryFile(root + "/registry.reg");
  }
  ~Installation() {
    platform::SetRegistryFile(std::nullopt);
    std::error_code ignored;
    std::filesystem::remove_all(root, ignored);
  }

  void SetPackagePresent(bool present) const {
    if (present)
      std::filesystem::rename(parked, package);
    else
      std::filesystem::rename(package, parked);
  }

  static void Write(const std::string& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
  }

  // The window's caption, and caption and hint of the first 30 named
  // controls that have a caption.
  static std::string PackageText() {
    std::string xml =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Root Caption=\"Base window\">\n";
    int count = 0;
    for (const Item& item : Items()) {
      if (item.caption.empty() || count == 30) continue;
      xml +=
          "  <" + item.name + " Caption=\"" + item.name + "\" Hint=\"" + item.name + " hint\"/>\n";
      ++count;
    }
    return xml + "</Root>\n";
  }
};

}  // namespace

int main(int argc, char** argv) {
  int runs = 200;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--runs" && i + 1 < argc) {
      runs = std::max(1, std::atoi(argv[++i]));
    } else {
      std::fprintf(stderr, "usage: base_window_bench [--runs N]\n");
      return 2;
    }
  }
  if (!std::getenv("QT_QPA_PLATFORM")) ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  if (!std::getenv("VRK_CODEPAGE")) ::setenv("VRK_CODEPAGE", "936", 1);
  int qtArgc = 1;
  vcl::Application->Initialize(qtArgc, argv);
  PaintWatch paintWatch;
  watch = &paintWatch;
  qApp->installEventFilter(&paintWatch);

  try {
    const Installation installation;
    std::map<std::string, Samples> samples;
    // A first round outside the measurements: fonts, styles and caches are
    // loaded once per process.
    {
      Samples warmUp;
      RunQt(warmUp);
      RunOurs(warmUp);
      installation.SetPackagePresent(true);
      RunOurs(warmUp);
      installation.SetPackagePresent(false);
    }
    for (int i = 0; i < runs; ++i) {
      RunQt(samples["qt"]);
      RunOurs(samples["ours"]);
      installation.SetPackagePresent(true);
      RunOurs(samples["ours+package"]);
      installation.SetPackagePresent(false);
    }

    size_t controls = Items().size();
    std::printf("\nbase window of %zu controls, %d runs each, platform %s\n", controls, runs,
                qPrintable(QGuiApplication::platformName()));
    const double qt = Median(samples["qt"].show);
    std::printf("%-32s %10s %10s %8s\n", "", "show ms", "close ms", "ratio");
    for (const auto& [label, key] :
         {std::pair{"Qt widgets alone", "qt"}, std::pair{"TVKForm, no language package", "ours"},
          std::pair{"TVKForm, with language package", "ours+package"}}) {
      const double show = Median(samples[key].show);
      std::printf("%-32s %10.3f %10.3f %8.2f\n", label, show, Median(samples[key].close),
                  qt > 0 ? show / qt : 0.0);
    }
    const double worst =
        std::max(Median(samples["ours"].show), Median(samples["ours+package"].show));
    std::printf("goal: show time <= 1.5 x Qt alone: %s (worst ratio %.2f)\n",
                qt > 0 && worst / qt <= 1.5 ? "met" : "missed", qt > 0 ? worst / qt : 0.0);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "base_window_bench: %s\n", e.what());
    return 1;
  }
  vcl::Application->ProcessMessages();
  return 0;
}
