#pragma once

#include "framework/BaseGeneU.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"

namespace BaseGene {

/* The properties of the program's module file, as Ctrl+Alt+V shows them:
   file name, size, the times of its last change, access and status change,
   and its file and product versions. Each value is a label named after it
   ("lblFileName", "lblSize", "lblModified", "lblAccessed", "lblChanged",
   "lblFileVersion", "lblProductVersion"); "btnClose" closes it (OK). */
class TfrmModuleProperties : public vcl::TForm {
  VCL_CLASS_INFO()
 public:
  explicit TfrmModuleProperties(vcl::TComponent* owner);

  /* Fills the labels; a missing file shows its name and "-" elsewhere. */
  void ShowFile(const BaseGeneU::TModuleFileInfo& info);

  vcl::TLabel* lblFileName = nullptr;
  vcl::TLabel* lblSize = nullptr;
  vcl::TLabel* lblModified = nullptr;
  vcl::TLabel* lblAccessed = nullptr;
  vcl::TLabel* lblChanged = nullptr;
  vcl::TLabel* lblFileVersion = nullptr;
  vcl::TLabel* lblProductVersion = nullptr;
  vcl::TButton* btnClose = nullptr;
};

}  // namespace BaseGene
