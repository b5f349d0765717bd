#include "runtime/LanguageController.h"

#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xpath.h>

#include <fstream>
#include <iterator>
#include <optional>
#include <vector>

#include "platform/core/CodePage.h"
#include "platform/core/Format.h"
#include "platform/core/SysUtils.h"
#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"
#include "runtime/BrantorINI.h"
#include "runtime/LibRTTI.h"

namespace LanguageController {

using platform::Variant;
using vcl::TTypeKind;

namespace {

// --- Reading packages safely ---------------------------------------------------

// Packages larger than this are not language packages.
constexpr size_t kMaxPackageBytes = 16 * 1024 * 1024;

xmlParserInputPtr RefuseExternalEntity(const char*, const char*, xmlParserCtxtPtr) {
  return nullptr;
}

/* Puts the refusing entity loader in place for the length of one parse. The
   package itself is read into memory first, so the parser needs no loader
   for it. */
class RefuseEntitiesWhileParsing {
 public:
  RefuseEntitiesWhileParsing() : previous_(xmlGetExternalEntityLoader()) {
    xmlSetExternalEntityLoader(RefuseExternalEntity);
  }
  ~RefuseEntitiesWhileParsing() { xmlSetExternalEntityLoader(previous_); }
  RefuseEntitiesWhileParsing(const RefuseEntitiesWhileParsing&) = delete;
  RefuseEntitiesWhileParsing& operator=(const RefuseEntitiesWhileParsing&) = delete;

 private:
  xmlExternalEntityLoader previous_;
};

struct DocFree {
  void operator()(xmlDoc* doc) const { xmlFreeDoc(doc); }
};
using DocPtr = std::unique_ptr<xmlDoc, DocFree>;

std::string Utf8ToAnsi(std::string_view utf8, int codePage) {
  return platform::WideToBytes(platform::Utf8ToWide(utf8), codePage);
}

std::string AnsiToUtf8(std::string_view bytes) {
  return platform::WideToUtf8(platform::AnsiToWide(bytes));
}

std::optional<std::string> ReadBytes(const std::string& path) {
  if (path.empty() || !platform::FileExists(path)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string bytes;
  char chunk[8192];
  while (in.read(chunk, sizeof chunk) || in.gcount() > 0) {
    bytes.append(chunk, static_cast<size_t>(in.gcount()));
    if (bytes.size() > kMaxPackageBytes) break;
  }
  return bytes;
}

/* Parses a package file: no network, no DTD or entity loading, no entity
   substitution, the parser's default depth and expansion limits (no
   XML_PARSE_HUGE). Raises LanguageControllerError with the parser's reason. */
DocPtr ParsePackage(const std::string& path) {
  const std::optional<std::string> bytes = ReadBytes(path);
  if (!bytes) throw LanguageControllerError(platform::Format("Cannot Find File %s!", {path}));
  if (bytes->size() > kMaxPackageBytes)
    throw LanguageControllerError("Language package too large: " + path);
  xmlInitParser();
  std::unique_ptr<xmlParserCtxt, void (*)(xmlParserCtxtPtr)> context(xmlNewParserCtxt(),
                                                                     xmlFreeParserCtxt);
  if (!context) throw LanguageControllerError("Out of memory reading " + path);
  // The first error is the reason; the parser's later complaints follow from it.
  std::string firstError;
  context->_private = &firstError;
  context->sax->serror = [](void* data, xmlErrorPtr error) {
    auto* ctxt = static_cast<xmlParserCtxtPtr>(data);
    auto* first = ctxt ? static_cast<std::string*>(ctxt->_private) : nullptr;
    if (first && first->empty() && error && error->level >= XML_ERR_ERROR && error->message)
      *first = error->message;
  };
  DocPtr doc;
  {
    RefuseEntitiesWhileParsing guard;
    doc.reset(xmlCtxtReadMemory(context.get(), bytes->data(), static_cast<int>(bytes->size()),
                                nullptr, nullptr,
                                XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING));
  }
  if (!doc) {
    const xmlError* error = xmlCtxtGetLastError(context.get());
    std::string reason = platform::Trim(firstError);
    if (reason.empty() && error && error->message) reason = platform::Trim(error->message);
    if (reason.empty()) reason = "Invalid language package";
    throw LanguageControllerError(Utf8ToAnsi(reason, platform::CP_SYSTEM));
  }
  return doc;
}

/* Nodes found by a query of the form "//name" or "//name/@attribute", the
   names having been checked to be XML names, so that nothing in them can
   change the query. The first in document order; nullptr when none. */
xmlNode* FirstMatch(xmlDoc* doc, const std::string& query) {
  std::unique_ptr<xmlXPathContext, void (*)(xmlXPathContextPtr)> context(xmlXPathNewContext(doc),
                                                                         xmlXPathFreeContext);
  if (!context) return nullptr;
  context->error = [](void*, xmlErrorPtr) {};
  std::unique_ptr<xmlXPathObject, void (*)(xmlXPathObjectPtr)> result(
      xmlXPathEvalExpression(reinterpret_cast<const xmlChar*>(query.c_str()), context.get()),
      xmlXPathFreeObject);
  if (!result || result->type != XPATH_NODESET || result->nodesetval == nullptr) return nullptr;
  xmlNode* first = nullptr;
  for (int i = 0; i < result->nodesetval->nodeNr; ++i) {
    xmlNode* node = result->nodesetval->nodeTab[i];
    if (first == nullptr || xmlXPathCmpNodes(node, first) == 1) first = node;
  }
  return first;
}

/* A name as UTF-8 when it is an XML name without a prefix; nullopt else. */
std::optional<std::string> QueryName(std::string_view name) {
  std::string utf8 = AnsiToUtf8(name);
  if (utf8.empty() || xmlValidateNCName(reinterpret_cast<const xmlChar*>(utf8.c_str()), 0) != 0)
    return std::nullopt;
  return utf8;
}

/* The first element in document order named Tag in no namespace: what the
   query "//tag" selects, found by walking the tree, since a window asks for
   each of its components and an XPath evaluation per name costs more than
   the walk. */
xmlNode* FirstElementNamed(xmlNode* node, const xmlChar* tag) {
  for (; node != nullptr; node = node->next) {
    if (node->type != XML_ELEMENT_NODE) continue;
    if (node->ns == nullptr && xmlStrEqual(node->name, tag)) return node;
    if (xmlNode* inner = FirstElementNamed(node->children, tag)) return inner;
  }
  return nullptr;
}

xmlNode* FindElement(xmlDoc* doc, std::string_view name) {
  const std::optional<std::string> tag = QueryName(name);
  return tag ? FirstElementNamed(doc->children, reinterpret_cast<const xmlChar*>(tag->c_str()))
             : nullptr;
}

std::string NodeText(xmlNode* node, int codePage) {
  xmlChar* content = xmlNodeGetContent(node);
  if (content == nullptr) return "";
  std::string text = Utf8ToAnsi(reinterpret_cast<const char*>(content), codePage);
  xmlFree(content);
  return text;
}

// --- Configuration -------------------------------------------------------------

struct LanguageSetting {
  std::string dir;   // the language folder, "" when there is none
  int codePage = 0;  // the code page package texts are given in
};

LanguageSetting ReadLanguageSetting(TDesignType designType) {
  std::unique_ptr<BrantorINI::TBrantorIniBase> reader;
  if (designType == CodeConverter::dtServer)
    reader = std::make_unique<BrantorINI::TBrantorIniS>();
  else
    reader = std::make_unique<BrantorINI::TBrantorIniC>();
  LanguageSetting setting;
  setting.codePage = reader->UICodePage == "950"   ? platform::CP_BIG5
                     : reader->UICodePage == "936" ? platform::CP_GBK
                                                   : platform::SystemCodePage();
  platform::StringList codes;
  codes.SetText("936=CHS\r\n950=CHT\r\n437=ENG");
  const std::string code = codes.Value(reader->UICodePage);
  if (code.empty() || reader->InstallPath.empty()) return setting;
  const std::string dir = reader->InstallPath + "MultiLanguage/" + code + "/";
  if (platform::DirectoryExists(dir)) setting.dir = dir;
  return setting;
}

// --- Applying attributes ---------------------------------------------------------

vcl::TObject* ObjectProperty(vcl::TObject* object, std::string_view name) {
  if (object == nullptr || name.empty()) return nullptr;
  const vcl::TPropInfo* p = vcl::GetPropInfo(object, name, {TTypeKind::tkClass});
  return p ? p->GetObject(object) : nullptr;
}

std::vector<std::string> SplitPath(std::string_view path) {
  std::vector<std::string> segments;
  size_t start = 0;
  for (;;) {
    const size_t dot = path.find('.', start);
    segments.emplace_back(path.substr(start, dot == std::string_view::npos ? dot : dot - start));
    if (dot == std::string_view::npos) break;
    start = dot + 1;
  }
  return segments;
}

/* "Items_3" -> ("Items", 3); no underscore, or no number after it: -1. */
std::pair<std::string, int> SplitIndex(const std::string& segment) {
  const size_t underscore = segment.find('_');
  if (underscore == std::string::npos) return {segment, -1};
  return {segment.substr(0, underscore),
          platform::StrToIntDef(std::string_view(segment).substr(underscore + 1), -1)};
}

bool IsIndexedName(const std::string& name) {
  return platform::SameText(name, "Items") || platform::SameText(name, "Columns");
}

/* One step into an indexed segment ("Items_n", "Columns_n"): a collection
   gives its item, a list view its column or row; a list view's rows stay
   as they are; anything else gives the object its property of that name
   holds (nullptr when none). An index out of range keeps Target. */
vcl::TObject* IndexedStep(vcl::TObject* target, const std::string& name, int index) {
  if (auto* collection = dynamic_cast<vcl::TCollection*>(target))
    return index >= 0 && index < collection->Count() ? collection->Items(index) : target;
  if (auto* view = dynamic_cast<vcl::TCustomListView*>(target)) {
    if (platform::SameText(name, "Columns"))
      return index >= 0 && index < view->Columns()->Count() ? view->Columns()->Items(index)
                                                            : target;
    return index >= 0 && index < view->Items()->Count() ? view->Items()->Item(index) : target;
  }
  if (dynamic_cast<vcl::TListItems*>(target)) return target;
  return ObjectProperty(target, name);
}

/* Applies one attribute (a property path and its text) to a component:
   walks the segments before the last one into object properties and
   indexed items, then sets the last one. A last segment with an index on
   the component itself addresses a line of a string list ("Items_4" sets
   line 4 of Items, adding empty lines as needed). */
void ApplyAttribute(vcl::TComponent* component, const std::string& path, const std::string& value) {
  vcl::TObject* target = component;
  const std::vector<std::string> segments = SplitPath(path);
  std::string last = platform::Trim(segments.back());
  for (size_t i = 0; i + 1 < segments.size(); ++i) {
    const std::string segment = platform::Trim(segments[i]);
    bool onlyBlanksFollow = true;
    for (size_t k = i + 1; k < segments.size(); ++k)
      if (!platform::Trim(segments[k]).empty()) onlyBlanksFollow = false;
    if (onlyBlanksFollow) {
      last = segment;
      break;
    }
    if (segment.find('_') == std::string::npos) {
      target = ObjectProperty(target, segment);
      if (target == nullptr) return;
      continue;
    }
    const auto [name, index] = SplitIndex(segment);
    if (index == -1 || !IsIndexedName(name)) {
      last = name;
      break;
    }
    target = IndexedStep(target, name, index);
    if (target == nullptr) return;
  }

  const auto [name, index] = SplitIndex(last);
  if (target == component && index >= 0) target = ObjectProperty(component, name);
  if (target == nullptr) return;
  if (auto* strings = dynamic_cast<vcl::TStrings*>(target)) {
    if (index < 0) return;
    while (strings->Count() <= index) strings->Add("");
    strings->Put(index, value);
  } else if (auto* item = dynamic_cast<vcl::TListItem*>(target);
             item != nullptr && platform::SameText(name, "Caption")) {
    item->SetCaption(value);
  } else {
    SetPropertyPath(target, name, Variant(value));
  }
}

}  // namespace

// --- Public functions -----------------------------------------------------------

std::string GetLanguageDir(TDesignType designType) { return ReadLanguageSetting(designType).dir; }

std::string GetLangMessage(TDesignType designType, std::string_view package, std::string_view key,
                           const std::string& defaultText) {
  try {
    const LanguageSetting setting = ReadLanguageSetting(designType);
    if (setting.dir.empty()) return defaultText;
    const std::string file = setting.dir + std::string(package) + ".Lng";
    if (!platform::FileExists(file)) return defaultText;
    const std::optional<std::string> tag = QueryName(key);
    if (!tag) return defaultText;
    DocPtr doc = ParsePackage(file);
    xmlNode* message = FirstMatch(doc.get(), "//" + *tag + "/@Msg");
    return message ? NodeText(message, setting.codePage) : defaultText;
  } catch (...) {
    return defaultText;
  }
}

bool SetPropertyPath(vcl::TObject* object, std::string_view path, const Variant& value) {
  if (object == nullptr) return false;
  try {
    const size_t dot = path.find('.');
    if (dot != std::string_view::npos) {
      vcl::TObject* inner = ObjectProperty(object, platform::Trim(path.substr(0, dot)));
      return inner != nullptr && SetPropertyPath(inner, path.substr(dot + 1), value);
    }
    const std::string name = platform::Trim(path);
    const vcl::TPropInfo* p = name.empty() ? nullptr : vcl::GetPropInfo(object, name);
    if (p == nullptr || !p->Writable()) return false;
    const bool integerValue =
        value.Type() == platform::VarType::Integer || value.Type() == platform::VarType::SmallInt;
    switch (p->Kind) {
      case TTypeKind::tkInteger: {
        int64_t number = 0;
        if (value.IsString() &&
            vcl::IdentToInt(p->TypeName, platform::Trim(value.AsString()), number))
          p->SetOrd(object, number);
        else
          vcl::SetPropValue(object, name, value);
        break;
      }
      case TTypeKind::tkEnumeration:
      case TTypeKind::tkSet:
        vcl::SetPropValue(
            object, name,
            integerValue ? value : Variant(platform::Trim(platform::VarToStr(value))));
        break;
      default:
        vcl::SetPropValue(object, name, value);
        break;
    }
    return true;
  } catch (...) {
    return false;
  }
}

// --- Readers ------------------------------------------------------------------------

void TComponentRead::ReadNode(vcl::TComponent* component, xmlNode* node) {
  if (component == nullptr || node == nullptr) return;
  for (xmlAttr* attribute = node->properties; attribute != nullptr; attribute = attribute->next) {
    try {
      const std::string path =
          Utf8ToAnsi(reinterpret_cast<const char*>(attribute->name), platform::CP_SYSTEM);
      ApplyAttribute(component, path, NodeText(reinterpret_cast<xmlNode*>(attribute), codePage_));
    } catch (...) {
      // One attribute that cannot be applied does not stop the others.
    }
  }
}

void TCustomComboBoxRead::ReadNode(vcl::TComponent* component, xmlNode* node) {
  auto* combo = dynamic_cast<vcl::TCustomComboBox*>(component);
  const int selected = combo ? combo->ItemIndex() : -1;
  TComponentRead::ReadNode(component, node);
  if (combo && selected < combo->Items()->Count()) combo->SetItemIndex(selected);
}

void TwwDBCustomComboBoxRead::ReadNode(vcl::TComponent* component, xmlNode* node) {
  const int64_t selected = LibRTTI::GetOrdinalProp(component, "ItemIndex");
  TComponentRead::ReadNode(component, node);
  LibRTTI::SetOrdinalProp(component, "ItemIndex", selected);
}

std::unique_ptr<ILangRead> TReaderFactory::GetReader(vcl::TComponent* component, int codePage) {
  if (component != nullptr && component->InheritsFrom("TwwDBCustomComboBox"))
    return std::make_unique<TwwDBCustomComboBoxRead>(codePage);
  if (dynamic_cast<vcl::TCustomComboBox*>(component))
    return std::make_unique<TCustomComboBoxRead>(codePage);
  return std::make_unique<TComponentRead>(codePage);
}

TLangReader::TLangReader(xmlDoc* document, const platform::StringList& excludeControls,
                         int codePage)
    : document_(document), exclude_(excludeControls), codePage_(codePage) {}

bool TLangReader::Excluded(const std::string& name) const {
  const std::string trimmed = platform::Trim(name);
  for (const std::string& entry : exclude_.Strings())
    if (platform::SameText(platform::Trim(entry), trimmed)) return true;
  return false;
}

void TLangReader::Apply(vcl::TComponent* component, xmlNode* node) {
  BeforeLoadComponent(component, node);
  TReaderFactory::GetReader(component, codePage_)->ReadNode(component, node);
  AfterLoadComponent(component, node);
}

void TLangReader::LoadComponent(vcl::TComponent* component) {
  if (component == nullptr || document_ == nullptr) return;
  if (dynamic_cast<vcl::TCustomForm*>(component) || component->InheritsFrom("TDataModule"))
    if (xmlNode* root = xmlDocGetRootElement(document_)) Apply(component, root);
  if (!component->Name().empty() && !Excluded(component->Name()))
    if (xmlNode* element = FindElement(document_, component->Name())) Apply(component, element);
  std::vector<vcl::TComponent*> owned;
  for (int i = 0; i < component->ComponentCount(); ++i) owned.push_back(component->Components(i));
  for (vcl::TComponent* child : owned)
    if (vcl::IsLiveComponent(child)) LoadComponent(child);
}

// --- Controller ---------------------------------------------------------------------

struct TLanguageController::Document {
  DocPtr doc;
};

const vcl::TClassInfo* TLanguageController::StaticClassInfo() {
  static const vcl::TClassInfo info("TLanguageController", vcl::TComponent::StaticClassInfo());
  return &info;
}

TLanguageController::TLanguageController(vcl::TComponent* owner)
    : vcl::TComponent(owner), exclude_(std::make_unique<vcl::TStringList>()) {
  exclude_->SetChangeHook([this] { ExcludeChanged(); });
}

TLanguageController::~TLanguageController() = default;

bool TLanguageController::Active() const {
  return document_ && document_->doc && xmlDocGetRootElement(document_->doc.get()) != nullptr;
}

void TLanguageController::SetActive(bool active) {
  if (Loading()) {
    pendingActive_ = active;
    return;
  }
  if (active == Active()) return;
  if (active)
    Open();
  else
    Close();
}

void TLanguageController::Loaded() {
  vcl::TComponent::Loaded();
  SetActive(pendingActive_);
}

void TLanguageController::Open() {
  BeforeOpen(this);
  reader_.reset();
  document_.reset();
  if (packageFile_.empty())
    throw LanguageControllerError(platform::Format("Cannot Find File %s!", {packageFile_}));
  auto document = std::make_unique<Document>();
  document->doc = ParsePackage(packageFile_);
  document_ = std::move(document);
  reader_ = std::make_unique<TLangReader>(document_->doc.get(), exclude_->Data(), codePage_);
  reader_->BeforeLoadComponent = BeforeLoadComponent;
  reader_->AfterLoadComponent = AfterLoadComponent;
  AfterOpen(this);
}

void TLanguageController::Close() {
  BeforeClose(this);
  reader_.reset();
  document_.reset();
  AfterClose(this);
}

void TLanguageController::SetLangPackageName(const std::string& name) {
  if (name == packageName_) return;
  packageName_ = name;
  const LanguageSetting setting = ReadLanguageSetting(designType_);
  codePage_ = setting.codePage;
  const std::string file = setting.dir.empty() ? std::string() : setting.dir + name + ".Lng";
  if (file != packageFile_) {
    packageFile_ = file;
    SetActive(false);
  }
}

void TLanguageController::SetExcludeControls(vcl::TStrings* names) {
  if (names != nullptr)
    exclude_->Assign(names);
  else
    exclude_->Clear();
}

void TLanguageController::ExcludeChanged() {
  if (reader_) reader_->SetExcludeControls(exclude_->Data());
}

TLangReader& TLanguageController::Reader() {
  if (!reader_ || !Active()) throw LanguageControllerError("No active LanguageController!");
  return *reader_;
}

const vcl::TClassInfo* TVkLangController::StaticClassInfo() {
  using P = vcl::PropBuilder<TVkLangController>;
  static const vcl::TClassInfo info(
      "TVkLangController", TLanguageController::StaticClassInfo(),
      {
          P::Bool<&TVkLangController::Active, &TVkLangController::SetActive>("Active"),
          P::Object<&TVkLangController::ExcludeControls, &TVkLangController::SetExcludeControls>(
              "ExcludeControls", "TStrings"),
          P::Enum<&TVkLangController::DesignType, &TVkLangController::SetDesignType>(
              "DesignType", &CodeConverter::DesignTypeInfo),
          P::String<&TVkLangController::LangPackageName, &TVkLangController::SetLangPackageName>(
              "LangPackageName"),
          P::Event<&TVkLangController::AfterClose>("AfterClose"),
          P::Event<&TVkLangController::AfterLoadComponent>("AfterLoadComponent",
                                                           "TLoadComponentEvent"),
          P::Event<&TVkLangController::AfterOpen>("AfterOpen"),
          P::Event<&TVkLangController::BeforeClose>("BeforeClose"),
          P::Event<&TVkLangController::BeforeLoadComponent>("BeforeLoadComponent",
                                                            "TLoadComponentEvent"),
          P::Event<&TVkLangController::BeforeOpen>("BeforeOpen"),
      });
  return &info;
}

}  // namespace LanguageController
