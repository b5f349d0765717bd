// Condition schemes of the generic window: the scheme list and its server
// records. Not written yet: until they are, the list stays empty, nothing
// is stored, opened, deleted or renamed, and each operation below answers
// as a window without an application server would.

#include "framework/BaseGene.h"

namespace BaseGene {

bool TfrmBaseGene::SaveScheme(const std::string&, const std::string&, bool) { return false; }
bool TfrmBaseGene::RefreshSchemeList() { return false; }
void TfrmBaseGene::btnInsertClick(vcl::TObject*) {}
void TfrmBaseGene::btnOpenClick(vcl::TObject*) {}
void TfrmBaseGene::btnDeleteClick(vcl::TObject*) {}
void TfrmBaseGene::lstConditionEdited(vcl::TObject*, vcl::TListItem*, std::string&) {}

}  // namespace BaseGene
