#include "winlayer/ApiNames.h"
#include "winlayer/Mnemonics.h"
#include "winlayer/controls/ControlCalls.h"
#include "winlayer/window/WindowCalls.h"

#include <mutex>

namespace winlayer {
namespace {

#define API_ENTRY(function)                                                                        \
    ApiFunction {                                                                                  \
#function, reinterpret_cast < void*>(&function)                                            \
    }

const ApiFunction kControlFunctions[] = {
    API_ENTRY(MessageBox),
    API_ENTRY(WISP_CB_AddString),
    API_ENTRY(WISP_CB_SetCurSel),
    API_ENTRY(WISP_CB_GetCurSel),
    API_ENTRY(WISP_CB_GetNumItems),
    API_ENTRY(WISP_CB_SetItemData),
    API_ENTRY(WISP_CB_GetItemData),
    API_ENTRY(WISP_CB_Empty),
    API_ENTRY(WISP_CB_InsertString),
    API_ENTRY(WISP_CB_GetItemText),
    API_ENTRY(WISP_CB_DeleteString),
    API_ENTRY(WISP_CB_FindString),
    API_ENTRY(WISP_TB_SetPos),
    API_ENTRY(WISP_TB_SetRange),
    API_ENTRY(WISP_TB_GetPos),
    API_ENTRY(WISP_TB_SetTic),
    API_ENTRY(WISP_RegisterCustomControlCreator),
    API_ENTRY(WISP_UnregisterCustomControlCreator),
    API_ENTRY(WISP_MakeSetCurParms),
    API_ENTRY(WISP_MakeButton),
    API_ENTRY(WISP_MakeEditField),
    API_ENTRY(WISP_MakeLabel),
    API_ENTRY(WISP_MakeControl),
    API_ENTRY(WISP_MakeCombo),
    API_ENTRY(WISP_MakeGroupBox),
    API_ENTRY(WISP_MakeCheckBox),
    API_ENTRY(WISP_MakeListBox),
    API_ENTRY(WISP_GenerateDialogFromList),
    API_ENTRY(WISP_IsGroupBox),
    API_ENTRY(WISP_IsButton),
};

#undef API_ENTRY

} // namespace

void AddControlApiNames() {
    static std::once_flag added;
    std::call_once(added, [] { AddApiFunctions(kControlFunctions); });
}

} // namespace winlayer
