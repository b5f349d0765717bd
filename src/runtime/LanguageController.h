#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/core/Exception.h"
#include "platform/core/Variant.h"
#include "platform/vcl/Classes.h"
#include "runtime/CodeConverter.h"

struct _xmlDoc;
struct _xmlNode;

/* Language packages: XML files named after a window class ("TfrmX.Lng") in a
   folder per interface language, <installation>/MultiLanguage/<CHS|CHT|ENG>/.
   The attributes of the root element apply to the window, an element named
   after a component holds that component's properties (attribute names are
   property paths, values the texts to set), and an element named after a
   message key holds the message in its attribute "Msg".

   Packages are untrusted files. They are parsed without network access,
   without loading external DTDs or entities of any kind (an entity loader
   that refuses everything is in place while parsing), without entity
   substitution and within the parser's default limits of depth and entity
   expansion. Element and key names used in queries must be XML names;
   anything else is simply not found. Attribute texts are given to the
   components in the interface code page ("936" or "950"; the system code
   page for any other interface). */
namespace LanguageController {

using CodeConverter::TDesignType;

/* A package that cannot be read, or use of a controller without one. */
class LanguageControllerError : public platform::Exception {
 public:
  using Exception::Exception;
  const char* ClassName() const noexcept override { return "LanguageControllerError"; }
};

/* The language folder, ending in "/": the installation folder of the reader
   DesignType names, "MultiLanguage/", the code of the interface code page
   ("936" CHS, "950" CHT, "437" ENG) and "/". "" when the code page has no
   code or the folder does not exist. */
std::string GetLanguageDir(TDesignType designType);

/* The "Msg" text of the first element named Key in the package file
   <language folder><Package>.Lng; Default when the file, the element or the
   attribute is missing, Key is not an XML name, or anything fails. */
std::string GetLangMessage(TDesignType designType, std::string_view package, std::string_view key,
                           const std::string& defaultText);

/* Sets a property given by a "."-separated path ("Font.Name": the font's
   name) from a Value: integer properties with registered identifiers
   ("clRed") take the identifier's number, enumerations and sets take the
   trimmed text (or an integer as it is), everything else the platform's
   property-value conversion. False when anything fails; the property then
   keeps its value. */
bool SetPropertyPath(vcl::TObject* object, std::string_view path, const platform::Variant& value);

/* Around applying one XML element to one component. */
using TLoadComponentEvent = vcl::TEvent<vcl::TComponent* /*Component*/, _xmlNode* /*Node*/>;

/* Reads all attributes of one element into one component. */
class ILangRead {
 public:
  virtual ~ILangRead() = default;
  virtual void ReadNode(vcl::TComponent* component, _xmlNode* node) = 0;
};

/* Reads each attribute in order and applies it as a property path (see the
   .cpp for the walk through "Items_n" and "Columns_n" segments).
   Attributes naming absent or read-only properties, values of the wrong
   kind and indexes out of range are skipped one by one. */
class TComponentRead : public ILangRead {
 public:
  explicit TComponentRead(int codePage) : codePage_(codePage) {}
  void ReadNode(vcl::TComponent* component, _xmlNode* node) override;

 private:
  int codePage_;
};

/* A combo box keeps its selected index across the reading. */
class TCustomComboBoxRead : public TComponentRead {
 public:
  using TComponentRead::TComponentRead;
  void ReadNode(vcl::TComponent* component, _xmlNode* node) override;
};

/* The data-aware combo box of the component pack (class
   "TwwDBCustomComboBox"), recognised by name: keeps its "ItemIndex". */
class TwwDBCustomComboBoxRead : public TComponentRead {
 public:
  using TComponentRead::TComponentRead;
  void ReadNode(vcl::TComponent* component, _xmlNode* node) override;
};

/* The reader for a component's class. */
class TReaderFactory {
 public:
  static std::unique_ptr<ILangRead> GetReader(vcl::TComponent* component, int codePage);
};

/* Applies a loaded package to components. */
class TLangReader {
 public:
  /* Document stays owned by the caller and must outlive the reader. */
  TLangReader(_xmlDoc* document, const platform::StringList& excludeControls, int codePage);

  /* 1. A window (or data module) takes the root element's attributes.
     2. A named component not in the exclude list (names compared trimmed
        and ignoring case) takes the first element named after it.
     3. The same for every component it owns, in ownership order. */
  void LoadComponent(vcl::TComponent* component);

  void SetExcludeControls(const platform::StringList& names) { exclude_ = names; }
  TLoadComponentEvent BeforeLoadComponent;
  TLoadComponentEvent AfterLoadComponent;

 private:
  void Apply(vcl::TComponent* component, _xmlNode* node);
  bool Excluded(const std::string& name) const;

  _xmlDoc* document_;
  platform::StringList exclude_;
  int codePage_;
};

/* Loads one package at a time and applies it to components. Setting
   LangPackageName points it at <language folder><name>.Lng (and makes it
   inactive); setting Active to true loads that file. */
class TLanguageController : public vcl::TComponent {
  VCL_CLASS_INFO()
 public:
  explicit TLanguageController(vcl::TComponent* owner);
  ~TLanguageController() override;

  /* True when a document with a root element is loaded. */
  bool Active() const;
  /* While the component is being loaded the value is only remembered and
     applied when loading ends. Turning it on runs BeforeOpen, drops any
     loaded document, loads the package file and makes a reader, then runs
     AfterOpen; it raises LanguageControllerError "Cannot Find File %s!"
     for a missing or unreadable file and the parser's reason for a
     malformed one. Turning it off runs BeforeClose, drops the document and
     reader, runs AfterClose. */
  void SetActive(bool active);

  const std::string& LangPackageName() const { return packageName_; }
  void SetLangPackageName(const std::string& name);
  /* The package file the name leads to ("" when there is no language folder). */
  const std::string& PackageFile() const { return packageFile_; }

  /* Names of components never loaded from a package. Setting copies the
     list (nullptr clears it); changes of the list reach the active reader. */
  vcl::TStrings* ExcludeControls() const { return exclude_.get(); }
  void SetExcludeControls(vcl::TStrings* names);

  TDesignType DesignType() const { return designType_; }
  void SetDesignType(TDesignType type) { designType_ = type; }

  /* The reader of the loaded package; raises LanguageControllerError "No
     active LanguageController!" when none is loaded. */
  TLangReader& Reader();

  vcl::TNotifyEvent BeforeOpen;
  vcl::TNotifyEvent AfterOpen;
  vcl::TNotifyEvent BeforeClose;
  vcl::TNotifyEvent AfterClose;
  TLoadComponentEvent BeforeLoadComponent;
  TLoadComponentEvent AfterLoadComponent;

 protected:
  void Loaded() override;

 private:
  void Open();
  void Close();
  void ExcludeChanged();

  std::string packageName_;
  std::string packageFile_;
  int codePage_ = 0;
  TDesignType designType_ = CodeConverter::dtClient;
  std::unique_ptr<vcl::TStringList> exclude_;
  struct Document;
  std::unique_ptr<Document> document_;
  std::unique_ptr<TLangReader> reader_;
  bool pendingActive_ = false;
};

/* The controller every window owns (named "LangController"), with its
   properties published: Active, LangPackageName, ExcludeControls,
   DesignType and the open, close and load events. */
class TVkLangController : public TLanguageController {
  VCL_CLASS_INFO()
 public:
  explicit TVkLangController(vcl::TComponent* owner) : TLanguageController(owner) {}
};

}  // namespace LanguageController
