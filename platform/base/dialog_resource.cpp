#include "platform/base/dialog_resource.h"

#include "platform/base/resource_table.h"

namespace {

CResourceTable<const DLGTEMPLATE*> g_templates;

}  // namespace

void AfxSetDialogTemplates(const DLGTEMPLATE* const* ppTemplates, int nCount) {
    g_templates.Set(ppTemplates, nCount);
}

const DLGTEMPLATE* AfxFindDialogTemplate(UINT nID) {
    const DLGTEMPLATE* const* ppTemplate =
        g_templates.FindForLanguage(nID, GetUserDefaultUILanguage());
    return ppTemplate != nullptr ? *ppTemplate : nullptr;
}
