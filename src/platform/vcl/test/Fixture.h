#pragma once

// A shown form that tests put controls on, and a small recorder of events.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/vcl/Forms.h"

namespace vcl::test {

struct EventLog {
  std::vector<std::string> entries;
  void Notify(TObject* sender) { entries.push_back(Name(sender)); }
  static std::string Name(TObject* o) {
    auto* c = dynamic_cast<TComponent*>(o);
    return c && !c->Name().empty() ? c->Name() : (o ? o->ClassName() : "nil");
  }
  size_t Count() const { return entries.size(); }
};

class FormFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    form = Create<TForm>(nullptr);
    form->SetBounds(0, 0, 500, 400);
    form->Show();
  }
  void TearDown() override {
    Application->SetModalHook(nullptr);
    if (IsLiveComponent(form)) form->Free();
  }
  template <class T>
  T* Add(const std::string& name = "") {
    auto* c = new T(form);
    if (!name.empty()) c->SetName(name);
    c->SetParent(form);
    return c;
  }
  TNotifyEvent Recorder() { return MakeEvent<&EventLog::Notify>(&log); }

  TForm* form = nullptr;
  EventLog log;
};

}  // namespace vcl::test
