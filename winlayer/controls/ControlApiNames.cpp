#include "winlayer/ApiNames.h"
#include "winlayer/Mnemonics.h"
#include "winlayer/controls/ControlCalls.h"
#include "winlayer/controls/TabCalls.h"
#include "winlayer/dialogs/CommonDialogs.h"
#include "winlayer/drops/DropBlock.h"
#include "winlayer/shell/ShellCalls.h"
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
    API_ENTRY(WISP_DisableContextMenu),
    API_ENTRY(WISP_MakeLabel),
    API_ENTRY(WISP_MakeControl),
    API_ENTRY(WISP_MakeCombo),
    API_ENTRY(WISP_MakeGroupBox),
    API_ENTRY(WISP_MakeCheckBox),
    API_ENTRY(WISP_MakeListBox),
    API_ENTRY(WISP_GenerateDialogFromList),
    API_ENTRY(WISP_IsGroupBox),
    API_ENTRY(WISP_IsButton),
    API_ENTRY(TabCtrl_GetItemCount),
    API_ENTRY(TabCtrl_InsertItem),
    API_ENTRY(TabCtrl_DeleteItem),
    API_ENTRY(TabCtrl_GetCurSel),
    API_ENTRY(TabCtrl_SetCurSel),
    API_ENTRY(TabCtrl_AdjustRect),
    API_ENTRY(BrowseForSaveFile),
    API_ENTRY(BrowseForFiles),
    API_ENTRY(BrowseForDirectory),
    API_ENTRY(BrowseFile_SetTemplate),
    API_ENTRY(WISP_ChooseColor),
    API_ENTRY(WISP_ChooseFont),
    API_ENTRY(RegisterClipboardFormat),
    API_ENTRY(OpenClipboard),
    API_ENTRY(EnumClipboardFormats),
    API_ENTRY(GetClipboardData),
    API_ENTRY(SetClipboardData),
    API_ENTRY(EmptyClipboard),
    API_ENTRY(CloseClipboard),
    API_ENTRY(DragQueryFile),
    API_ENTRY(DragQueryPoint),
    API_ENTRY(DragFinish),
    API_ENTRY(ShellExecute),
    API_ENTRY(WISP_DrawFocusRect),
    API_ENTRY(WISP_HideApp),
    API_ENTRY(WISP_ModalWindowRun),
    API_ENTRY(WISP_ModalWindowEnd),
};

#undef API_ENTRY

} // namespace

void AddControlApiNames() {
    static std::once_flag added;
    std::call_once(added, [] { AddApiFunctions(kControlFunctions); });
}

} // namespace winlayer
