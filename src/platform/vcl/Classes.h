#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "platform/core/Exception.h"
#include "platform/core/StringList.h"

namespace vcl {

class TObject;
class TClassInfo;
class TComponent;

using Word = uint16_t;
using UINT = uint32_t;
using WPARAM = uintptr_t;
using LPARAM = intptr_t;
using LRESULT = intptr_t;

/* Errors of this layer. Each carries the platform's message text. */
class EComponentError : public platform::Exception {
 public:
  using Exception::Exception;
  const char* ClassName() const noexcept override { return "EComponentError"; }
};
class EInvalidOperation : public platform::Exception {
 public:
  using Exception::Exception;
  const char* ClassName() const noexcept override { return "EInvalidOperation"; }
};
class EStringListError : public platform::Exception {
 public:
  using Exception::Exception;
  const char* ClassName() const noexcept override { return "EStringListError"; }
};

// ---------------------------------------------------------------------------
// Events: method pointers.

/* A method pointer with no type: the code address of a handler and the object
   it runs on. This is the form in which handlers are saved (for example into
   a string list's objects) and put back. */
struct TMethod {
  void* Code = nullptr;
  void* Data = nullptr;
  friend bool operator==(const TMethod&, const TMethod&) = default;
};

/* An event: one handler, held as (Code, Data). Code is a plain function that
   calls the bound method on Data; every method bound with MakeEvent has its
   own Code, so two events compare equal exactly when they call the same
   method on the same object. Calling an unassigned event does nothing. */
template <class... Args>
struct TEvent {
  using Thunk = void (*)(void* data, Args...);
  Thunk Code = nullptr;
  void* Data = nullptr;

  bool Assigned() const { return Code != nullptr; }
  explicit operator bool() const { return Code != nullptr; }
  void operator()(Args... args) const {
    if (Code) Code(Data, std::forward<Args>(args)...);
  }
  TMethod Method() const { return TMethod{reinterpret_cast<void*>(Code), Data}; }
  static TEvent FromMethod(const TMethod& m) {
    TEvent e;
    e.Code = reinterpret_cast<Thunk>(m.Code);
    e.Data = m.Data;
    return e;
  }
  friend bool operator==(const TEvent&, const TEvent&) = default;
};

using TNotifyEvent = TEvent<TObject* /*Sender*/>;

namespace internal {
template <auto Method>
struct MethodThunk;
template <class C, class... A, void (C::*M)(A...)>
struct MethodThunk<M> {
  using Class = C;
  using Event = TEvent<A...>;
  static void Call(void* data, A... args) { (static_cast<C*>(data)->*M)(std::forward<A>(args)...); }
};
}  // namespace internal

/* Binds a member function to an object as an event:
     btn->OnClick = vcl::MakeEvent<&TMyForm::btnOkClick>(this);
   The method's parameters give the event type. */
template <auto Method, class Obj>
auto MakeEvent(Obj* object) {
  using T = internal::MethodThunk<Method>;
  typename T::Event e;
  e.Code = &T::Call;
  e.Data = static_cast<typename T::Class*>(object);
  return e;
}

/* The code address of a bound method, as MakeEvent stores it; used to publish
   methods by name (TClassInfo) and to compare saved handlers. */
template <auto Method>
void* MethodCode() {
  return reinterpret_cast<void*>(&internal::MethodThunk<Method>::Call);
}

// ---------------------------------------------------------------------------
// Objects and their class information.

/* Declares a class's own run-time type information. Put it in the public part
   of every class that publishes properties or methods, or whose class name
   matters (windows: language packages are named after the class), and define
   StaticClassInfo() in the .cpp file. */
#define VCL_CLASS_INFO()                             \
 public:                                             \
  static const ::vcl::TClassInfo* StaticClassInfo(); \
  const ::vcl::TClassInfo* ClassInfo() const override { return StaticClassInfo(); }

/* The root of every class of this layer. ClassName() and the parent chain come
   from the class information, so a class without VCL_CLASS_INFO reports the
   name of its nearest ancestor that has it. */
class TObject {
 public:
  TObject() = default;
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;
  virtual ~TObject();

  static const TClassInfo* StaticClassInfo();
  virtual const TClassInfo* ClassInfo() const { return StaticClassInfo(); }

  std::string ClassName() const;
  /* The parent class's information; nullptr for TObject. */
  const TClassInfo* ClassParent() const;
  /* True when the class or an ancestor has this name (case-insensitive). */
  bool InheritsFrom(std::string_view className) const;
  /* The code of a published method (see TClassInfo), nullptr when absent. */
  void* MethodAddress(std::string_view name) const;
  /* The name of the published method whose code is Code, "" when none. */
  std::string MethodName(void* code) const;
};

/* The platform's TPersistent: objects that can be copied from one another. */
class TPersistent : public TObject {
  VCL_CLASS_INFO()
 public:
  /* Copies Source into this object. Raises EConvertError-like Exception
     "Cannot assign a X to a Y" when the classes do not fit. */
  virtual void Assign(const TPersistent* source);

 protected:
  virtual bool AssignTo(TPersistent* dest) const;
};

// ---------------------------------------------------------------------------
// Components: the ownership tree.

enum TOperation { opInsert, opRemove };

enum TComponentStateFlag : unsigned {
  csLoading = 1,
  csReading = 2,
  csWriting = 4,
  csDestroying = 8,
  csDesigning = 16,
};

/* The platform's TComponent. Owner and Components form the ownership tree:
   a component frees the components it owns. Names are unique among the
   components of one owner (compared ignoring case).

   Freeing is two-phase. Free() first disposes (BeforeDestruction, then
   DoDispose down the class chain: owned components are freed, free
   notifications go out, the component leaves its owner) while the object is
   still whole, then deletes it. Disposing twice does nothing; after disposal
   every operation is safe and does nothing visible. Free components with
   Free() (or FreeAndNil); a plain delete skips the handlers that disposal
   would run (OnDestroy). */
class TComponent : public TPersistent {
  VCL_CLASS_INFO()
 public:
  explicit TComponent(TComponent* owner);
  ~TComponent() override;

  TComponent* Owner() const { return owner_; }
  int ComponentCount() const { return static_cast<int>(components_.size()); }
  /* Raises EInvalidOperation-like list error for an index out of range. */
  TComponent* Components(int index) const;
  int ComponentIndex() const;

  const std::string& Name() const { return name_; }
  /* Raises EComponentError "A component named X already exists" when the
     owner already has another component of that name, and
     "Component name "X" is not valid" for a name that is not an identifier. */
  virtual void SetName(const std::string& name);

  intptr_t Tag() const { return tag_; }
  void SetTag(intptr_t tag) { tag_ = tag; }

  /* The owned component with that name (ignoring case), nullptr when none. */
  TComponent* FindComponent(std::string_view name) const;

  void InsertComponent(TComponent* component);
  void RemoveComponent(TComponent* component);

  /* Asks to be told (Notification(this, opRemove)) when Component goes. */
  void FreeNotification(TComponent* component);
  void RemoveFreeNotification(TComponent* component);

  unsigned ComponentState() const { return state_; }
  bool Loading() const { return (state_ & csLoading) != 0; }
  bool Destroying() const { return (state_ & csDestroying) != 0; }
  bool Designing() const { return (state_ & csDesigning) != 0; }
  bool Disposed() const { return disposed_; }

  /* Marks this component and everything it owns (now and created later,
     until EndLoad) as being loaded from a resource; EndLoad clears the mark
     and calls Loaded() on each, owner last. */
  void BeginLoad();
  void EndLoad();

  /* Runs the platform's after-construction step; Create<T>() calls it. */
  virtual void AfterConstruction();
  /* Disposes and deletes; see the class comment. */
  void Free();
  /* Disposes without deleting. */
  void Dispose();

 protected:
  /* Told when Component is inserted into or removed from the tree this
     component belongs to, or goes away while this one asked to be told. The
     base version passes the notice to every owned component. */
  virtual void Notification(TComponent* component, TOperation operation);
  virtual void Loaded();
  /* First step of disposal, with the whole object alive (forms run OnDestroy). */
  virtual void BeforeDestruction() {}
  /* Releases what the class holds; overrides release their own part, then
     call the inherited one. */
  virtual void DoDispose();
  void SetComponentState(unsigned flags, bool on);
  virtual void ValidateRename(TComponent* component, const std::string& currentName,
                              const std::string& newName);

 private:
  void DisposeInternal(bool fromDestructor);
  void SetLoadingTree(bool on, std::vector<TComponent*>& out);

  TComponent* owner_ = nullptr;
  std::vector<TComponent*> components_;
  std::vector<TComponent*> freeNotifies_;
  std::string name_;
  intptr_t tag_ = 0;
  unsigned state_ = 0;
  bool disposed_ = false;
};

/* Creates a component the platform's way: construction, then the
   after-construction step (forms run OnCreate there). */
template <class T, class... Args>
T* Create(Args&&... args) {
  T* object = new T(std::forward<Args>(args)...);
  object->AfterConstruction();
  return object;
}

template <class T>
void FreeAndNil(T*& object) {
  T* p = object;
  object = nullptr;
  if (p) p->Free();
}

/* True while the given component has not been freed: a check for deferred
   work (posted messages, released forms). */
bool IsLiveComponent(const TComponent* component);

// ---------------------------------------------------------------------------
// String lists.

/* The platform's abstract TStrings: an indexed list of byte strings, each
   with an object pointer. Descendants store the strings (TStringList) or
   show them in a control (the items of a combo box, the lines of a memo).
   Index errors raise EStringListError "List index out of bounds (i)". */
class TStrings : public TPersistent {
  VCL_CLASS_INFO()
 public:
  virtual int Count() const = 0;
  virtual std::string Get(int index) const = 0;
  virtual void Put(int index, const std::string& text);
  virtual TObject* GetObject(int index) const;
  virtual void PutObject(int index, TObject* object);
  virtual void Insert(int index, const std::string& text) = 0;
  virtual void Delete(int index) = 0;
  virtual void Clear() = 0;

  std::string Strings(int index) const { return Get(index); }
  std::string operator[](int index) const { return Get(index); }
  TObject* Objects(int index) const { return GetObject(index); }
  virtual int Add(const std::string& text);
  int AddObject(const std::string& text, TObject* object);
  void InsertObject(int index, const std::string& text, TObject* object);
  void AddStrings(const TStrings* strings);
  void Exchange(int a, int b);
  void Move(int from, int to);
  /* Case-insensitive search; -1 when absent. */
  virtual int IndexOf(std::string_view text) const;
  int IndexOfName(std::string_view name) const;
  int IndexOfObject(const TObject* object) const;
  std::string Names(int index) const;
  std::string Values(std::string_view name) const;
  void SetValue(std::string_view name, std::string_view value);

  /* Each string followed by CR LF; setting splits at CR LF, LF or CR. */
  virtual std::string Text() const;
  virtual void SetText(std::string_view text);
  std::string CommaText() const;
  void SetCommaText(std::string_view text);

  /* Nested calls count; descendants repaint or notify at the outermost end. */
  void BeginUpdate();
  void EndUpdate();
  bool Updating() const { return updateCount_ > 0; }

  void Assign(const TPersistent* source) override;

 protected:
  virtual void SetUpdateState(bool /*updating*/) {}
  void CheckIndex(int index, int count) const;

 private:
  int updateCount_ = 0;
};

enum TDuplicates { dupIgnore, dupAccept, dupError };

/* The platform's TStringList over platform::StringList: stores the strings,
   optionally sorted; OnChanging/OnChange run around every change (once per
   BeginUpdate/EndUpdate bracket). */
class TStringList : public TStrings {
  VCL_CLASS_INFO()
 public:
  TStringList() = default;

  int Count() const override { return list_.Count(); }
  std::string Get(int index) const override;
  void Put(int index, const std::string& text) override;
  TObject* GetObject(int index) const override;
  void PutObject(int index, TObject* object) override;
  int Add(const std::string& text) override;
  void Insert(int index, const std::string& text) override;
  void Delete(int index) override;
  void Clear() override;
  int IndexOf(std::string_view text) const override;
  void SetText(std::string_view text) override;

  bool Sorted() const { return list_.Sorted(); }
  void SetSorted(bool sorted);
  TDuplicates Duplicates() const { return duplicates_; }
  void SetDuplicates(TDuplicates duplicates);
  void Sort();

  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

  /* An extra listener for the owner of the list (a control showing it);
     called after OnChange. */
  void SetChangeHook(std::function<void()> hook) { hook_ = std::move(hook); }

  const platform::StringList& Data() const { return list_; }

 protected:
  void SetUpdateState(bool updating) override;
  void Changing();
  void Changed();

 private:
  platform::StringList list_;
  TDuplicates duplicates_ = dupIgnore;
  std::function<void()> hook_;
};

// ---------------------------------------------------------------------------
// Collections (list view columns and similar).

class TCollection;

/* One item of a collection; owned by it. */
class TCollectionItem : public TPersistent {
  VCL_CLASS_INFO()
 public:
  explicit TCollectionItem(TCollection* collection);
  ~TCollectionItem() override;
  TCollection* Collection() const { return collection_; }
  int Index() const;

 protected:
  void Changed();

 private:
  friend class TCollection;
  TCollection* collection_;
};

/* The platform's TCollection: an owned, ordered list of items of one class. */
class TCollection : public TPersistent {
  VCL_CLASS_INFO()
 public:
  TCollection() = default;
  ~TCollection() override;
  int Count() const { return static_cast<int>(items_.size()); }
  /* Raises EStringListError-like "List index out of bounds" when out of range. */
  TCollectionItem* Items(int index) const;
  void Delete(int index);
  void Clear();
  void BeginUpdate() { ++updateCount_; }
  void EndUpdate();
  /* Tells the collection's owner of a change (unless inside an update
     bracket); descendants' Add calls it once the new item is whole. */
  void Changed(TCollectionItem* item = nullptr);

 protected:
  /* Told after an item was added, removed or changed (item nullptr: many). */
  virtual void Update(TCollectionItem* /*item*/) {}
  void AddItem(TCollectionItem* item);

 private:
  friend class TCollectionItem;
  void RemoveItem(TCollectionItem* item);
  std::vector<TCollectionItem*> items_;
  int updateCount_ = 0;
};

}  // namespace vcl
