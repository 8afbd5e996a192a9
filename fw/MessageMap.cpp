#include "fw/MessageMap.h"


const AFX_MSGMAP* CCmdTarget::GetThisMessageMap()
{
    static const AFX_MSGMAP_ENTRY entries[] = { { 0, 0, 0, nullptr } };
    static const AFX_MSGMAP map = { nullptr, entries };
    return &map;
}

static bool Matches(const AFX_MSGMAP_ENTRY& e, UINT message, WPARAM wParam)
{
    if (e.nMessage != message) return false;
    if (message != WM_COMMAND) return true;
    return e.nID == LOWORD(wParam) && e.nCode == HIWORD(wParam);
}

BOOL CCmdTarget::DispatchMessageMap(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    for (const AFX_MSGMAP* map = GetMessageMap(); map != nullptr;
         map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e->pfn != nullptr; ++e) {
            if (!Matches(*e, message, wParam)) continue;
            *pResult = e->pfn(this, wParam, lParam);
            return TRUE;
        }
        // A class's own map ends the search at the root, whose base pointer is null.
    }
    return FALSE;
}
